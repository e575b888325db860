#pragma once
// The image files of one run: the name its images get, claimed in the
// destination before the extractor starts, and the files its output pattern
// stands for afterwards.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "cut/CutCommand.h"
#include "platform/Paths.h"

namespace kelmora {

// The file of image number n under the extractor's output pattern: "%05d" or
// "%d" is the number, "%%" a "%" ("/out/50%%off_%05d.jpg", 3 ->
// "/out/50%off_00003.jpg").
std::string imageFile(const std::string& pattern, std::size_t n);

// How many whole images a run wrote: the numbers from 1 on whose files are
// there and not empty.
std::size_t countImages(const std::string& pattern);

// Puts a run's files in order once it has ended: removes the last image when
// it may be half written (the run was killed or failed while writing) and the
// empty first image of the claim when the extractor never wrote into it.
// Returns how many whole images are left.
std::size_t tidyImages(const std::string& pattern, bool lastMayBePartial);

// True when fileName is a file the run of images named name could write, or
// one that makes that name unsafe to use: "name_<digits>.jpg" (any number of
// digits) for a numbered format; for the unnumbered one ("name%d.jpg") also
// "name.jpg", and so the images of a video called "name1" (name11.jpg, ...)
// take the name "name" as well as the other way round. An image named by its
// time ("name_00-01-23.456.jpg") takes the name too, for the unnumbered
// format as well. Windows names compare without regard to ASCII case.
bool isImageOf(std::string_view fileName, std::string_view name, TOutputFormat format,
               platform::PathStyle style = platform::nativePathStyle());

struct NameClaim {
    std::string name;  // the images' name; its first image now stands, empty, in the folder
    int error = 0;     // the system's error number when no name could be claimed (name is then empty)
    std::string lock;  // a replacing run's hold on its name (claimReplacing), to be removed at its end
};

// Claims a name for a run's images in folder: the first of name, "name (2)",
// "name (3)", ... that no file of the folder belongs to (isImageOf). The claim
// is the run's first image, made with an exclusive create, so two runs, in one
// process or in two, also on two hosts sharing the folder, never get one name;
// a name of the unnumbered format is looked at once more after its claim, for
// a run of a longer name ("a" and "a1") claimed at the same moment.
// A name too long for the file system is shortened (at a whole character) so
// that the number in brackets and the image numbers fit.
NameClaim claimOutputName(const std::string& folder, const std::string& name, TOutputFormat format,
                          platform::PathStyle style = platform::nativePathStyle());

// The hidden file that holds the images of name of format in folder for a
// run that replaces them: ".kelmora-lock." and the first image's file name.
std::string replaceLockPath(const std::string& folder, const std::string& name, TOutputFormat format,
                            platform::PathStyle style = platform::nativePathStyle());

// Claims name for a run that replaces the images there already: takes the
// name's lock with an exclusive create (so two replacing runs, also on two
// hosts, never share a name), asks mayReplace(name) whether another run may
// be writing them, removes every image of the name and claims its first image
// as claimOutputName does. When the lock is held, mayReplace says no, or a
// run of another kind claims the name meanwhile, no image is removed and a
// name beside is claimed as claimOutputName does, without a lock.
NameClaim claimReplacing(const std::string& folder, const std::string& name, TOutputFormat format,
                         const std::function<bool(const std::string& name)>& mayReplace,
                         platform::PathStyle style = platform::nativePathStyle());

// The name claimOutputName would claim, without touching the folder (for a
// run that is only shown): the first image files in named count as taken too,
// and the chosen one is added.
NameClaim chooseOutputName(const std::string& folder, const std::string& name, TOutputFormat format,
                           std::unordered_set<std::string>& named,
                           platform::PathStyle style = platform::nativePathStyle());

// The name shortened, at a whole character, so that name + added + the widest
// image number's ending fits in one file name of maxBytes.
std::string fitOutputName(const std::string& name, const std::string& added, TOutputFormat format,
                          std::size_t maxBytes = 255);

}  // namespace kelmora
