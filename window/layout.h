#pragma once

#include <array>
#include <string_view>

namespace quillon {

// The window as it is first shown, in twips (1/1440 inch) from the top-left corner of the
// client area; 15 twips make one logical pixel.
inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

inline constexpr std::string_view kWindowCaption = "Tornello (Textfiles only)";
inline constexpr std::string_view kApplicationName = "Quillon";
inline constexpr int kClientWidthTwips = 13125;
inline constexpr int kClientHeightTwips = 7860;

enum class ControlKind { ProgressBar, OptionButton, TextBox, CommandButton, FileChooser, Label };

struct TwipRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

inline constexpr int kNoTabStop = -1;

struct ControlLayout {
  std::string_view Name;
  ControlKind Kind;
  std::string_view Text;
  TwipRect Twips;  // all zero for the chooser, which is never shown in the window
  int TabIndex;
  std::string_view ToolTip;
};

// In the order the window creates them.
inline constexpr std::array<ControlLayout, 9> kControls{{
    {"ProgressBar1", ControlKind::ProgressBar, "", {120, 7680, 12855, 135}, 7, ""},
    {"optRvtType(2)", ControlKind::OptionButton, "Revert Line", {6000, 480, 1455, 255}, 6, "Read from beginning, but reverse line content"},
    {"optRvtType(1)", ControlKind::OptionButton, "Line keep", {3720, 480, 1455, 255}, 5, "Reverse a File but Keep lines readable"},
    {"optRvtType(0)", ControlKind::OptionButton, "Simple Revert", {960, 480, 1455, 255}, 4, "Just reverses a file complete"},
    {"txtResult", ControlKind::TextBox, "", {120, 840, 12855, 6855}, 3, ""},
    {"btnRevert", ControlKind::CommandButton, "Revert", {10680, 120, 1695, 495}, 2, ""},
    {"btnGetFile", ControlKind::CommandButton, "...", {240, 120, 495, 255}, 0, ""},
    {"CommonDialog1", ControlKind::FileChooser, "", {0, 0, 0, 0}, kNoTabStop, ""},
    {"lblFileName", ControlKind::Label, "", {960, 120, 9375, 255}, 1, ""},
}};

// The mode buttons optRvtType(0) to (2), and the one selected when the window opens.
inline constexpr int kSimpleRevertOption = 0;
inline constexpr int kLineKeepOption = 1;
inline constexpr int kRevertLineOption = 2;
inline constexpr int kInitialOption = kLineKeepOption;

// The control of that name; the names are those in kControls.
const ControlLayout& ControlNamed(std::string_view name);

}  // namespace quillon
