// The wizard's error codes: what gErrCode holds after a failed step and what the error
// display keys its messages on. 0 is no failure.
#pragma once
#include <array>
#include <cstdint>

namespace vq {

// Instrument link, steps 2 and 7.
constexpr std::uint8_t kCodeLinkNoPort = 11;       // the port number maps to no device
constexpr std::uint8_t kCodeLinkRetries = 12;      // no accepted reply after every repeat
constexpr std::uint8_t kCodeLinkTimeout = 13;      // no clear-to-send, or no reply to 124
constexpr std::uint8_t kCodeLinkSettings = 15;     // the port refused the line settings
// Update file, shown at once by the file selection (22 also by the image stage).
constexpr std::uint8_t kCodeFileName = 21;         // no such file
constexpr std::uint8_t kCodeFileInvalid = 22;      // no header magic, or the body too long
constexpr std::uint8_t kCodeFileOpen = 23;         // cannot be read
// Firmware update, step 5.
constexpr std::uint8_t kCodeFlashRunTime = 30;     // the port failed
constexpr std::uint8_t kCodeFlashNoConnection = 31;  // DSR never dropped: not restarted
constexpr std::uint8_t kCodeFlashRetries = 32;
constexpr std::uint8_t kCodeFlashTimeout = 33;
constexpr std::uint8_t kCodeFlashSetting = 34;     // clock or security setting
constexpr std::uint8_t kCodeFlashErase = 35;
constexpr std::uint8_t kCodeFlashWrite = 36;
constexpr std::uint8_t kCodeFlashVerify = 37;
// Anything else.
constexpr std::uint8_t kCodeUnknown = 99;

// Every code above; each has a message in both languages.
constexpr std::array<std::uint8_t, 16> kWizardCodes{
    kCodeLinkNoPort,   kCodeLinkRetries,  kCodeLinkTimeout,       kCodeLinkSettings,
    kCodeFileName,     kCodeFileInvalid,  kCodeFileOpen,          kCodeFlashRunTime,
    kCodeFlashNoConnection, kCodeFlashRetries, kCodeFlashTimeout, kCodeFlashSetting,
    kCodeFlashErase,   kCodeFlashWrite,   kCodeFlashVerify,       kCodeUnknown,
};

}  // namespace vq
