#pragma once

#include <array>
#include <string_view>

#include "modes/run_mode.h"

namespace quillon {

// The window as it is first shown, in logical pixels from the top-left corner of the client area.
inline constexpr std::string_view kWindowCaption = "Tornello (Textfiles only)";
inline constexpr std::string_view kApplicationName = "Quillon";
inline constexpr int kClientWidth = 875;
inline constexpr int kClientHeight = 524;

enum class ControlKind { ProgressBar, ModeOption, ResultBox, CommandButton, Label };

struct PixelRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

struct ControlLayout {
  std::string_view Name;  // the widget's object name
  ControlKind Kind;
  std::string_view Text;
  PixelRect Rect;
  int TabIndex;
  std::string_view ToolTip;
};

// In the order the window creates them: where two overlap, the later one lies on top (the
// result box covers the progress bar's top row).
inline constexpr std::array<ControlLayout, 8> kControls{{
    {"progressBar", ControlKind::ProgressBar, "", {8, 512, 857, 9}, 7, ""},
    {"revertLineOption", ControlKind::ModeOption, "Revert Line", {400, 32, 97, 17}, 6, "Read from beginning, but reverse line content"},
    {"lineKeepOption", ControlKind::ModeOption, "Line keep", {248, 32, 97, 17}, 5, "Reverse a File but Keep lines readable"},
    {"simpleRevertOption", ControlKind::ModeOption, "Simple Revert", {64, 32, 97, 17}, 4, "Just reverses a file complete"},
    {"resultBox", ControlKind::ResultBox, "", {8, 56, 857, 457}, 3, ""},
    {"revertButton", ControlKind::CommandButton, "Revert", {712, 8, 113, 33}, 2, ""},
    {"chooseFileButton", ControlKind::CommandButton, "...", {16, 8, 33, 17}, 0, ""},
    {"fileLabel", ControlKind::Label, "", {64, 8, 625, 17}, 1, ""},
}};

// The mode selected when the window opens.
inline constexpr RevertMode kInitialMode = RevertMode::LineKeep;

}  // namespace quillon
