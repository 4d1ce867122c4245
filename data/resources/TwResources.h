#pragma once

// Paths of the pictures built into the programs. They are registered at start-up by
// whatever links the tw_resources library; no init call is needed. (Code that gets
// the resource objects some other way calls Q_INIT_RESOURCE(tw_pictures).)
namespace twresources {

// 113 x 76, 24 bits per pixel, 25,894 bytes.
inline constexpr char MonitorPicture[] = ":/tw/monitor.bmp";
inline constexpr char MainIcon32[] = ":/tw/tarnwick5-32.png";
inline constexpr char MainIcon16[] = ":/tw/tarnwick5-16.png";
inline constexpr char MonitorIcon32[] = ":/tw/twmonitor-32.png";
inline constexpr char MonitorIcon16[] = ":/tw/twmonitor-16.png";

} // namespace twresources
