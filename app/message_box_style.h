// The buttons, icons and flags of the program's message box, and the ids of
// the buttons it answers with. The values are those of the Windows message
// box, so that stored answers and callers keep one meaning everywhere.
#pragma once

namespace wordbay {

// Button sets (the low four bits of the style).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbAbortRetryIgnore = 0x2;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbRetryCancel = 0x5;
inline constexpr unsigned kMbButtonMask = 0xF;

// Icons (bits 4 to 7).
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbUserIcon = 0x80;
inline constexpr unsigned kMbIconMask = 0xF0;

// The default button (the first when neither is set).
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr unsigned kMbDefButton3 = 0x200;

inline constexpr unsigned kMbSystemModal = 0x1000;
inline constexpr unsigned kMbHelp = 0x4000;
inline constexpr unsigned kMbTopmost = 0x40000;

// The answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

}  // namespace wordbay
