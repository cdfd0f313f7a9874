// Text between this program (UTF-8) and the Windows API (UTF-16, numbered errors). Used by the
// *_win32.cpp files only.
#pragma once
#include <string>

namespace vq::native {

// "The system cannot find the file specified (error 2)".
std::string systemErrorText(unsigned long error);
std::wstring wideText(const std::string& utf8);
std::string utf8Text(const std::wstring& wide);

}  // namespace vq::native
