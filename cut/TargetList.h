#pragma once
// The registered cut targets: byte strings kept in ascending order without
// regard to case. Equal entries stand side by side, the later one after.
// Every registration gets its own serial number, so an entry keeps its
// identity while others are inserted before it (a batch cuts each entry once).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelmora {

// Ascending order ignoring the case of ASCII letters; other bytes compare as
// unsigned values.
bool lessIgnoringCase(const std::string& a, const std::string& b);

class TargetList {
public:
    using Serial = std::uint64_t;

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const std::string& at(std::size_t index) const { return m_entries.at(index); }
    const std::vector<std::string>& entries() const { return m_entries; }
    // The registration number of the entry at index; never reused, not even after clear().
    Serial serialAt(std::size_t index) const { return m_serials.at(index); }
    // Where the entry with serial stands now; size() when it is gone.
    std::size_t indexOf(Serial serial) const;
    // Goes up with every change of the list: equal counts, equal lists.
    std::uint64_t changeCount() const { return m_changes; }

    // Where add() would put entry.
    std::size_t placeFor(const std::string& entry) const;
    // Inserts one entry at its sorted place and returns that place.
    std::size_t add(std::string entry);
    // Inserts many entries with one sort of the new ones and one merge.
    void addAll(std::vector<std::string> entries);
    // Removes the entry at index; the others keep their order and serials.
    void removeAt(std::size_t index);
    void clear()
    {
        m_entries.clear();
        m_serials.clear();
        ++m_changes;
    }

private:
    std::vector<std::string> m_entries;
    std::vector<Serial> m_serials;  // beside m_entries, index for index
    Serial m_nextSerial = 1;
    std::uint64_t m_changes = 0;
};

}  // namespace kelmora
