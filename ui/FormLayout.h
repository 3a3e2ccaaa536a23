#pragma once

#include <span>

// The main window's controls as data: kind, container, caption or start
// text, place and size in twips (1/1440 inch), tab index and start state.
// Controls inside a frame are placed from the frame's outer top-left corner.
namespace formLayout {

enum class Kind { Label, TextBox, Frame, OptionButton, CheckBox, ComboBox, CommandButton };

struct Control {
    const char* name;
    Kind kind;
    const char* container;  // nullptr: directly on the window
    const char* text;  // nullptr: a numeric box, see startValues()
    int left, top, width, height;
    int tabIndex;
    bool startsEnabled;
};

inline constexpr int clientWidth = 6120;
inline constexpr int clientHeight = 7335;

// Twips per pixel at 96 dots per inch.
inline constexpr double twipsPerPixel = 15.0;

// Frames come before the controls they contain.
std::span<const Control> controls();

struct StartValue {
    const char* box;
    double value;
};

// The number each numeric box starts with.
std::span<const StartValue> startValues();

// The labels whose captions name a numeric box, for a screen reader: its
// row's caption, where the frame has rows, then its column's.
struct BoxCaptions {
    const char* box;
    const char* row;  // nullptr: the column's caption alone names the box
    const char* column;
};

std::span<const BoxCaptions> boxCaptions();

}  // namespace formLayout
