#pragma once

#include <cstdint>
#include <string>

// Numbers as the programs print them, the same in every locale: the one
// formatter of the check, the tables, the solution and the drawing.

// How a value that lies exactly half way between two texts of the digits
// asked for is rounded: to an even last digit, as printf does, or away from
// zero (10.125 to 4 digits gives 10.12 or 10.13).
enum class Halves { ToEven, AwayFromZero };

// At most digits significant digits, as printf's %.*g writes them in the C
// locale: trailing zeros dropped, an exponent for the very large and the very
// small ("1e+30"), "-0", "inf" and "nan" as they are.
std::string formatSignificant(double value, int digits, Halves halves = Halves::ToEven);

// A Single as short as it can be, from 6 significant digits up, and still
// read back to the same Single: for what must come back exactly, a node
// number or a support code in its Single, and for data passed on (CSV).
std::string formatSingle(float value);

// A measured value held in a Single (a coordinate, a load, E, A) at the
// precision a Single holds it: as short as it can be, from 6 significant
// digits up, and read back to that Single or to one next to it. The arithmetic
// that made it leaves its last bit in doubt: 18 m / 40 x 3 made in Singles is
// 1.3499999, one Single below the Single of 1.35, and reads 1.35.
std::string formatQuantity(float value);

// A count with its noun, in the singular for one: "1 byte", "0 bytes", "6 bytes".
std::string counted(std::int64_t count, const char* one, const char* many);
