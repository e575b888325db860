#include "cut/TargetList.h"

#include <algorithm>
#include <numeric>

namespace kelmora {

namespace {

unsigned char folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return folded(x) < folded(y); });
}

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
    // in the order given, then merged after equal old ones.
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&entries](std::size_t a, std::size_t b) { return lessIgnoringCase(entries[a], entries[b]); });
    std::vector<std::string> mergedEntries;
    std::vector<Serial> mergedSerials;
    mergedEntries.reserve(m_entries.size() + entries.size());
    mergedSerials.reserve(m_entries.size() + entries.size());
    std::size_t old = 0;
    for (const std::size_t added : order) {
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
