#include "cut/TargetList.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace kelmora {

namespace {

unsigned char folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Negative, zero or positive as a sorts before, with or after b, ignoring case.
int compareIgnoringCase(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    // Equal bytes fold alike: skip the shared start (long in paths of one
    // folder) eight bytes at a time, and fold only bytes that differ.
    while (i + 8 <= common && std::memcmp(a.data() + i, b.data() + i, 8) == 0) i += 8;
    for (; i < common; ++i) {
        if (a[i] == b[i]) continue;
        const unsigned char x = folded(a[i]);
        const unsigned char y = folded(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

bool lessIgnoringCase(const std::string& a, const std::string& b) { return compareIgnoringCase(a, b) < 0; }

std::size_t TargetList::indexOf(Serial serial) const
{
    return static_cast<std::size_t>(std::find(m_serials.begin(), m_serials.end(), serial) - m_serials.begin());
}

std::size_t TargetList::placeFor(const std::string& entry) const
{
    const auto place = std::upper_bound(m_entries.begin(), m_entries.end(), entry, lessIgnoringCase);
    return static_cast<std::size_t>(place - m_entries.begin());
}

std::size_t TargetList::add(std::string entry)
{
    const std::size_t place = placeFor(entry);
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(place), std::move(entry));
    m_serials.insert(m_serials.begin() + static_cast<std::ptrdiff_t>(place), m_nextSerial++);
    ++m_changes;
    return place;
}

void TargetList::addAll(std::vector<std::string> entries)
{
    // The new entries in sorted order (equal ones in the order given), numbered
    // in the order given, then merged after equal old ones. Each key carries
    // its text beside its place in entries: sorting bare places, each compare
    // reaching through entries, took several times longer for 100,000 paths.
    struct Key {
        std::string_view text;
        std::size_t index;
    };
    std::vector<Key> order;
    order.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) order.push_back({entries[i], i});
    std::sort(order.begin(), order.end(), [](const Key& a, const Key& b) {
        const int compared = compareIgnoringCase(a.text, b.text);
        return compared < 0 || (compared == 0 && a.index < b.index);
    });
    std::vector<std::string> mergedEntries;
    std::vector<Serial> mergedSerials;
    mergedEntries.reserve(m_entries.size() + entries.size());
    mergedSerials.reserve(m_entries.size() + entries.size());
    std::size_t old = 0;
    for (const Key& key : order) {
        const std::size_t added = key.index;
        while (old < m_entries.size() && !lessIgnoringCase(entries[added], m_entries[old])) {
            mergedEntries.push_back(std::move(m_entries[old]));
            mergedSerials.push_back(m_serials[old]);
            ++old;
        }
        mergedEntries.push_back(std::move(entries[added]));
        mergedSerials.push_back(m_nextSerial + added);
    }
    for (; old < m_entries.size(); ++old) {
        mergedEntries.push_back(std::move(m_entries[old]));
        mergedSerials.push_back(m_serials[old]);
    }
    m_nextSerial += entries.size();
    m_entries = std::move(mergedEntries);
    m_serials = std::move(mergedSerials);
    ++m_changes;
}

void TargetList::removeAt(std::size_t index)
{
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    m_serials.erase(m_serials.begin() + static_cast<std::ptrdiff_t>(index));
    ++m_changes;
}

}  // namespace kelmora
