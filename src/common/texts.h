// The program's own texts, as GBK bytes like every text of the
// configuration: they are converted from code page 936 and shown through the
// wide functions, so they read the same on any system. The readable text
// stands beside each literal.
#pragma once

namespace texts {

inline constexpr char kStartupFailedCaption[] = "\xC6\xF4\xB6\xAF\xCA\xA7\xB0\xDC";  // 启动失败
inline constexpr char kNoPackage[] =  // 没有附加配置文件,请打包配置文件
    "\xC3\xBB\xD3\xD0\xB8\xBD\xBC\xD3\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE,"
    "\xC7\xEB\xB4\xF2\xB0\xFC\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE";
inline constexpr char kOpenZipFailed[] = "OpenZip\xCA\xA7\xB0\xDC";  // OpenZip失败
inline constexpr char kMappingFailed[] = "CreateMapFile fail";
inline constexpr char kReadIniFailed[] = "\xB6\xC1\xC8\xA1" "ini" "\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";  // 读取ini文件失败
inline constexpr char kLoadIniFailed[] = "\xD7\xB0\xD4\xD8" "ini" "\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";  // 装载ini文件失败
inline constexpr char kReadImageFailed[] = "\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC\xCA\xA7\xB0\xDC";  // 读取图片失败
// The system's sockets cannot be started (no fixed wording exists for it).
inline constexpr char kSocketsFailed[] =  // Windows 套接字初始化失败
    "Windows \xCC\xD7\xBD\xD3\xD7\xD6\xB3\xF5\xCA\xBC\xBB\xAF\xCA\xA7\xB0\xDC";

}  // namespace texts
