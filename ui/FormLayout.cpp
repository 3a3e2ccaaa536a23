#include "ui/FormLayout.h"

#include "truss/TrussParameters.h"

namespace formLayout {
namespace {

constexpr Control table[] = {
    // name            kind                 container  text                       left  top   width height tab enabled
    {"Label4",         Kind::Label,         nullptr,   "Truss web configuration", 240,  240,  2415, 255,   1,  true},
    {"cmbTrussType",   Kind::ComboBox,      nullptr,   "",                        240,  480,  2535, 315,   0,  true},
    {"btnGenerate",    Kind::CommandButton, nullptr,   "Generate Truss File",     3480, 360,  2295, 495,   2,  true},
    {"txtStatus",      Kind::TextBox,       nullptr,   "Ready",                   240,  1080, 5535, 285,   35, true},
    {"Frame3",         Kind::Frame,         nullptr,   "Truss Geometry",          240,  1560, 5535, 1335,  28, true},
    {"Frame1",         Kind::Frame,         nullptr,   "Member Data",             240,  3120, 5535, 2175,  3,  true},
    {"Frame2",         Kind::Frame,         nullptr,   "Loading Data",            240,  5520, 5535, 1575,  20, true},

    {"Label1",         Kind::Label,         "Frame3",  "Span (m)",                240,  360,  855,  255,   32, true},
    {"txtSpan",        Kind::TextBox,       "Frame3",  nullptr,                   1800, 360,  615,  285,   30, true},
    {"Label2",         Kind::Label,         "Frame3",  "Height (m)",              3480, 360,  855,  255,   31, true},
    {"txtHeight",      Kind::TextBox,       "Frame3",  nullptr,                   4440, 360,  615,  285,   29, true},
    {"Label3",         Kind::Label,         "Frame3",  "No. Web Panels",          240,  840,  1335, 255,   34, true},
    {"txtPanels",      Kind::TextBox,       "Frame3",  nullptr,                   1800, 840,  615,  285,   33, true},

    {"Label5",         Kind::Label,         "Frame1",  "Top Chord:",              240,  360,  975,  255,   4,  true},
    {"Label6",         Kind::Label,         "Frame1",  "Area (mm2)",              1560, 360,  855,  255,   5,  true},
    {"txtAtop",        Kind::TextBox,       "Frame1",  nullptr,                   2520, 360,  735,  285,   6,  true},
    {"Label7",         Kind::Label,         "Frame1",  "E (kN/mm2)",              3480, 360,  855,  255,   7,  true},
    {"txtEtop",        Kind::TextBox,       "Frame1",  nullptr,                   4440, 360,  615,  285,   8,  true},
    {"Label8",         Kind::Label,         "Frame1",  "Btm Chord:",              240,  840,  975,  255,   9,  true},
    {"Label9",         Kind::Label,         "Frame1",  "Area (mm2)",              1560, 840,  855,  255,   10, true},
    {"txtAbtm",        Kind::TextBox,       "Frame1",  nullptr,                   2520, 840,  735,  285,   11, true},
    {"lblEbtm",        Kind::Label,         "Frame1",  "E (kN/mm2)",              3480, 840,  855,  255,   12, false},
    {"txtEbtm",        Kind::TextBox,       "Frame1",  nullptr,                   4440, 840,  615,  285,   13, false},
    {"Label11",        Kind::Label,         "Frame1",  "Web ",                    240,  1320, 975,  255,   14, true},
    {"Label12",        Kind::Label,         "Frame1",  "Area (mm2)",              1560, 1320, 855,  255,   15, true},
    {"txtAweb",        Kind::TextBox,       "Frame1",  nullptr,                   2520, 1320, 735,  285,   16, true},
    {"lblEweb",        Kind::Label,         "Frame1",  "E (kN/mm2)",              3480, 1320, 855,  255,   17, false},
    {"txtEweb",        Kind::TextBox,       "Frame1",  nullptr,                   4440, 1320, 615,  285,   18, false},
    {"chkConstE",      Kind::CheckBox,      "Frame1",  "Constant E value",        240,  1680, 1575, 255,   19, true},

    {"loading_0",      Kind::OptionButton,  "Frame2",  "Top Chord UDL",           240,  360,  1575, 255,   21, true},
    {"lblW",           Kind::Label,         "Frame2",  "w (kN/m)",                3360, 360,  1095, 255,   23, true},
    {"txtW",           Kind::TextBox,       "Frame2",  nullptr,                   4440, 360,  615,  285,   25, true},
    {"loading_1",      Kind::OptionButton,  "Frame2",  "Top Chord Nodal Point Loads", 240, 840, 2415, 255,  22, true},
    {"lblP",           Kind::Label,         "Frame2",  "P (kN)",                  3360, 840,  975,  255,   24, false},
    {"txtP",           Kind::TextBox,       "Frame2",  nullptr,                   4440, 840,  615,  285,   26, false},
    {"Label16",        Kind::Label,         "Frame2",  "Note that 0.5P is applied to the end nodes of the top chord",
                                                                                  240,  1200, 4695, 255,   27, true},
};

// The numeric boxes start at the values the model names; the window writes
// them in the user's locale.
constexpr StartValue starts[] = {
    {"txtSpan", startValues::span},     {"txtHeight", startValues::height},  {"txtPanels", startValues::panels},
    {"txtAtop", startValues::area},     {"txtEtop", startValues::modulus},   {"txtAbtm", startValues::area},
    {"txtEbtm", startValues::modulus},  {"txtAweb", startValues::area},      {"txtEweb", startValues::modulus},
    {"txtW", startValues::udl},         {"txtP", startValues::pointLoad},
};

constexpr BoxCaptions captions[] = {
    {"txtSpan", nullptr, "Label1"},    {"txtHeight", nullptr, "Label2"},  {"txtPanels", nullptr, "Label3"},
    {"txtAtop", "Label5", "Label6"},   {"txtEtop", "Label5", "Label7"},   {"txtAbtm", "Label8", "Label9"},
    {"txtEbtm", "Label8", "lblEbtm"},  {"txtAweb", "Label11", "Label12"}, {"txtEweb", "Label11", "lblEweb"},
    {"txtW", nullptr, "lblW"},         {"txtP", nullptr, "lblP"},
};

}  // namespace

std::span<const Control> controls() { return table; }
std::span<const StartValue> startValues() { return starts; }
std::span<const BoxCaptions> boxCaptions() { return captions; }

}  // namespace formLayout
