#pragma once
// The image files a run writes, found from its output pattern.

#include <cstddef>
#include <string>

namespace kelmora::cli {

// The file of image number n under the extractor's output pattern: "%05d" or
// "%d" is the number, "%%" a "%" ("/out/50%%off_%05d.jpg", 3 ->
// "/out/50%off_00003.jpg").
std::string imageFile(const std::string& pattern, std::size_t n);

// How many images the run wrote: the numbers from 1 on that exist.
std::size_t countImages(const std::string& pattern);

// Removes the last image of the numbers from 1 on, which a run that did not
// end by itself may have left half written. True when one was removed.
bool removeLastImage(const std::string& pattern);

}  // namespace kelmora::cli
