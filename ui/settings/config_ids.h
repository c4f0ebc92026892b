// The ids of the interface page's controls. The page forwards their
// commands to the main window under these numbers, and the main window's
// menu items and buttons for the same options use them too: they are data,
// never renumbered.
#pragma once

namespace config_command {

inline constexpr int kHotKeysGroup = 7001;
inline constexpr int kUseHotKeys = 7002;
inline constexpr int kKey1 = 7003;
inline constexpr int kKey2 = 7004;
inline constexpr int kKey3 = 7005;
inline constexpr int kActivateGroup = 7006;
inline constexpr int kCallMain = 7007;
inline constexpr int kCallPopup = 7008;
inline constexpr int kCallTooltip = 7009;
inline constexpr int kInterfaceGroup = 7010;
inline constexpr int kMinimizeToTray = 7011;
inline constexpr int kMainOnTop = 7012;
inline constexpr int kPopupOnTop = 7013;
inline constexpr int kTooltipOnTop = 7014;
inline constexpr int kShowSplash = 7015;  // kept by the page, not forwarded
inline constexpr int kSnapPopup = 7017;
inline constexpr int kSnapTooltip = 7018;

}  // namespace config_command
