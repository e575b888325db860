#pragma once
// Every cut option and the window position, one field per key of Kelmora.ini.
// At run time the main window's controls hold these values; this record is the
// snapshot of them that the command builders read. The initial values are the
// controls' values in the window layout.

#include <cstdint>
#include <string>

namespace kelmora {

struct TCutSettings {
    std::int32_t WindowLeft = 20;       // M_LEFT  [SET]
    std::int32_t WindowTop = 20;        // M_TOP   [SET]
    bool RangeAll = true;               // R1      [SET1]
    bool RangeFromSecond = false;       // R2
    std::int32_t StartSecond = 0;       // S1  (0..99999)
    std::int32_t FrameCount = 1;        // S2  (1..99999)
    bool RateAll = true;                // R9
    bool RatePerSecond = false;         // R10
    std::int32_t FramesPerSecond = 1;   // S5  (1..60)
    bool SizeSource = true;             // R3
    bool SizeCustom = false;            // R4
    std::int32_t ImageWidth = 320;      // S3  (0..9999)
    std::int32_t ImageHeight = 240;     // S4  (0..9999)
    std::string DestinationFolder;      // B1  (bytes of the system code page)
    bool FormatJpeg = true;             // R5
    bool FormatGif = false;             // R6
    bool FormatPng = false;             // R7
    bool FormatBmp = false;             // R8

    bool operator==(const TCutSettings&) const = default;
};

}  // namespace kelmora
