// The numbers the framework shares with the Windows services, so that the Win32 widget set passes
// them through and every other one translates them: message-box flags and answers, keys, modifier
// states, and the notification icon's callback codes.
#pragma once
#include <cstdint>

// Message box flags and answers with the numbers the Windows services use.
constexpr uint32_t MbOk = 0x0;
constexpr uint32_t MbOkCancel = 0x1;
constexpr uint32_t MbIconError = 0x10;
constexpr uint32_t MbIconQuestion = 0x20;
constexpr uint32_t MbIconWarning = 0x30;
constexpr uint32_t MbIconInformation = 0x40;
constexpr int IdOk = 1;
constexpr int IdCancel = 2;

// Keys the framework decides about, with the numbers the Windows services give them.
enum class TKey : uint16_t { Tab = 0x09, Return = 0x0D, Escape = 0x1B };
namespace ShiftState {
constexpr unsigned Shift = 1;
constexpr unsigned Ctrl = 2;
constexpr unsigned Alt = 4;
constexpr unsigned Left = 8;
constexpr unsigned Right = 16;
constexpr unsigned Middle = 32;
constexpr unsigned Double = 64;
}  // namespace ShiftState
enum class TMouseButton { Left, Right, Middle };

// The mouse and notification codes of a notification icon's callback, with the Windows numbers.
namespace TrayMessage {
constexpr uint32_t MouseMove = 0x200;
constexpr uint32_t LButtonDown = 0x201;
constexpr uint32_t LButtonUp = 0x202;
constexpr uint32_t LButtonDblClk = 0x203;
constexpr uint32_t RButtonDown = 0x204;
constexpr uint32_t RButtonUp = 0x205;
constexpr uint32_t MButtonDown = 0x207;
constexpr uint32_t MButtonUp = 0x208;
constexpr uint32_t BalloonShow = 0x402;
constexpr uint32_t BalloonHide = 0x403;
constexpr uint32_t BalloonTimeout = 0x404;
constexpr uint32_t BalloonUserClick = 0x405;
}  // namespace TrayMessage
