#include <windows.h>

#include "platform/native/windows_serial_map.h"
#include "platform/native/windows_text.h"

namespace vq::native {

std::vector<SerialMapEntry> windowsSerialMap() {
  std::vector<SerialMapEntry> out;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLen = 256;
    wchar_t data[64];
    DWORD dataLen = sizeof data;
    DWORD type = 0;
    const LSTATUS r =
        ::RegEnumValueW(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLen);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS || type != REG_SZ) continue;
    std::wstring port(data, dataLen / sizeof(wchar_t));
    while (!port.empty() && port.back() == L'\0') port.pop_back();
    out.push_back({utf8Text(std::wstring(name, nameLen)), utf8Text(port)});
  }
  ::RegCloseKey(key);
  return out;
}

}  // namespace vq::native
