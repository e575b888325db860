#include "cut/ImageFiles.h"

#include <cerrno>
#include <unordered_set>
#include <vector>

#include "cut/FramePicking.h"
#include "platform/FileFind.h"
#include "platform/System.h"

namespace kelmora {

namespace p = platform;

namespace {

// The widest image number a name leaves room for: a million images.
constexpr std::size_t kWidestNumber = 6;

// What stands around the number in the format's file names: "_" and ".jpg", or "" and ".jpg".
struct NumberFrame {
    std::string before;
    std::string after;
};

NumberFrame numberFrame(TOutputFormat format)
{
    const std::string suffix = outputSuffix(format);
    const std::size_t percent = suffix.find('%');
    return {suffix.substr(0, percent), suffix.substr(suffix.find('d', percent) + 1)};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Windows file systems ignore the case of ASCII letters in names.
std::string folded(std::string_view text, p::PathStyle style)
{
    std::string result(text);
    if (style == p::PathStyle::Windows)
        for (char& c : result)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

// Every name that a file of the folder makes unsafe for a run of format (see isImageOf), folded.
void addNamesTakenBy(std::string_view fileName, const NumberFrame& frame, p::PathStyle style,
                     std::unordered_set<std::string>& taken)
{
    const std::string file = folded(fileName, style);
    const std::string after = folded(frame.after, style);
    if (file.size() < after.size() || file.compare(file.size() - after.size(), after.size(), after) != 0) return;
    std::string_view base(file.data(), file.size() - after.size());
    // "name_00-01-23.456": an image named by its time, of any format's run.
    if (const std::size_t ending = timeNameEnding(base)) taken.emplace(base.substr(0, base.size() - ending));
    std::size_t digits = 0;
    while (digits < base.size() && isDigit(base[base.size() - 1 - digits])) ++digits;
    if (!frame.before.empty()) {
        // "name_<digits>": the digits are the number, the rest before the frame is the name.
        const std::size_t frameStart = base.size() - digits - frame.before.size();
        if (digits > 0 && base.size() >= digits + frame.before.size()
            && base.compare(frameStart, frame.before.size(), frame.before) == 0)
            taken.emplace(base.substr(0, frameStart));
        return;
    }
    // "name<digits>": any of the trailing digits may be the number.
    for (std::size_t number = 0; number <= digits; ++number) taken.emplace(base.substr(0, base.size() - number));
}

// The names the files of folder make unsafe, leaving out the file named except.
std::unordered_set<std::string> namesTakenIn(const std::string& folder, TOutputFormat format, p::PathStyle style,
                                             const std::string& except = {})
{
    std::unordered_set<std::string> taken;
    const NumberFrame frame = numberFrame(format);
    p::FileFind find;
    for (bool found = find.first(p::joinPath(folder, "*", style), p::EntryFacts::NameAndKind); found;
         found = find.next())
        if (find.data().name != except) addNamesTakenBy(find.data().name, frame, style, taken);
    return taken;
}

}  // namespace

std::string imageFile(const std::string& pattern, std::size_t n)
{
    std::string name;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 4, "%05d") == 0) {
            const std::string digits = std::to_string(n);
            name += std::string(digits.size() < 5 ? 5 - digits.size() : 0, '0') + digits;
            i += 3;
        } else if (pattern.compare(i, 2, "%d") == 0) {
            name += std::to_string(n);
            i += 1;
        } else if (pattern.compare(i, 2, "%%") == 0) {
            name += '%';
            i += 1;
        } else {
            name += pattern[i];
        }
    }
    return name;
}

std::size_t countImages(const std::string& pattern)
{
    std::size_t count = 0;
    while (p::fileSize(imageFile(pattern, count + 1)) > 0) ++count;
    return count;
}

std::size_t tidyImages(const std::string& pattern, bool lastMayBePartial)
{
    std::size_t present = 0;
    while (p::entryExists(imageFile(pattern, present + 1))) ++present;
    if (present > 0) {
        const std::string last = imageFile(pattern, present);
        if (lastMayBePartial || p::fileSize(last) == 0) p::deleteFile(last);
    }
    return countImages(pattern);
}

bool isImageOf(std::string_view fileName, std::string_view name, TOutputFormat format, p::PathStyle style)
{
    std::unordered_set<std::string> taken;
    addNamesTakenBy(fileName, numberFrame(format), style, taken);
    return taken.count(folded(name, style)) > 0;
}

std::string fitOutputName(const std::string& name, const std::string& added, TOutputFormat format, std::size_t maxBytes)
{
    const NumberFrame frame = numberFrame(format);
    const std::size_t ending = added.size() + frame.before.size() + kWidestNumber + frame.after.size();
    if (name.size() + ending <= maxBytes) return name;
    const std::size_t room = maxBytes > ending ? maxBytes - ending : 0;
    std::size_t end = 0;
    while (end < name.size()) {
        const std::size_t next = p::charEnd(name, end);
        if (next > room) break;
        end = next;
    }
    return name.substr(0, end);
}

namespace {

// The first of name, "name (2)", ... that no file of folder takes and that
// tryName(candidate, firstImage, taken) accepts: 0 takes it, EEXIST passes on
// to the next, another error ends the search with that error.
template <typename TryName>
NameClaim firstFreeName(const std::string& folder, const std::string& name, TOutputFormat format, p::PathStyle style,
                        TryName tryName)
{
    std::unordered_set<std::string> taken = namesTakenIn(folder, format, style);
    for (unsigned long long n = 1;; ++n) {
        const std::string added = n == 1 ? std::string() : " (" + std::to_string(n) + ")";
        const std::string candidate = fitOutputName(name, added, format) + added;
        if (taken.count(folded(candidate, style)) > 0) continue;
        const int error = tryName(candidate, firstImagePath(folder, candidate, format, style), taken);
        if (error == EEXIST) continue;
        if (error != 0) return {{}, error, {}};
        return {candidate, 0, {}};
    }
}

}  // namespace

NameClaim claimOutputName(const std::string& folder, const std::string& name, TOutputFormat format, p::PathStyle style)
{
    return firstFreeName(
        folder, name, format, style,
        [&](const std::string& candidate, const std::string& first, std::unordered_set<std::string>& taken) {
            if (const int error = p::createNewFile(first)) return error;
            if (format != ofNone) return 0;
            // "a" and "a1" overlap (a11.jpg): a run of the other claimed
            // at the same moment shows now, and then neither keeps its claim.
            taken = namesTakenIn(folder, format, style, p::fileNamePart(first, style));
            if (taken.count(folded(candidate, style)) == 0) return 0;
            p::deleteFile(first);
            return EEXIST;
        });
}

NameClaim chooseOutputName(const std::string& folder, const std::string& name, TOutputFormat format,
                           std::unordered_set<std::string>& named, p::PathStyle style)
{
    return firstFreeName(folder, name, format, style,
                         [&named](const std::string&, const std::string& first, std::unordered_set<std::string>&) {
                             return named.insert(first).second ? 0 : EEXIST;
                         });
}

std::string replaceLockPath(const std::string& folder, const std::string& name, TOutputFormat format,
                            p::PathStyle style)
{
    return p::joinPath(folder, ".kelmora-lock." + p::fileNamePart(firstImagePath(folder, name, format, style), style),
                       style);
}

NameClaim claimReplacing(const std::string& folder, const std::string& name, TOutputFormat format,
                         const std::function<bool(const std::string& name)>& mayReplace, p::PathStyle style)
{
    const std::string candidate = fitOutputName(name, {}, format);
    const std::string lock = replaceLockPath(folder, candidate, format, style);
    const int locked = p::createNewFile(lock);
    if (locked != 0 && locked != EEXIST) return {{}, locked, {}};
    if (locked == 0) {
        if (mayReplace(candidate)) {
            const NumberFrame frame = numberFrame(format);
            if (format == ofNone) {
                // "a1.jpg" is also an image of a video "a1": only the numbers of this name from 1 on.
                for (std::size_t n = 1;; ++n) {
                    const std::string file = p::joinPath(folder, candidate + std::to_string(n) + frame.after, style);
                    if (!p::entryExists(file) || !p::deleteFile(file)) break;
                }
            } else {
                std::vector<std::string> images;
                p::FileFind find;
                for (bool found = find.first(p::joinPath(folder, "*", style), p::EntryFacts::NameAndKind); found;
                     found = find.next())
                    if (isImageOf(find.data().name, candidate, format, style)) images.push_back(find.data().name);
                for (const std::string& image : images) p::deleteFile(p::joinPath(folder, image, style));
            }
            const int claimed = p::createNewFile(firstImagePath(folder, candidate, format, style));
            if (claimed == 0) return {candidate, 0, lock};
            if (claimed != EEXIST) {
                p::deleteFile(lock);
                return {{}, claimed, {}};
            }
        }
        p::deleteFile(lock);
    }
    return claimOutputName(folder, name, format, style);
}

}  // namespace kelmora
