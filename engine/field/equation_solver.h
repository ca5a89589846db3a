#pragma once

namespace vemro::field {

// Real roots of a*x^2 + b*x + c = 0 into roots, returning how many (0, 1 or 2); when every
// coefficient is 0, none.
int solveQuadratic(double roots[2], double a, double b, double c);

// Real roots of a*x^3 + b*x^2 + c*x + d = 0 into roots, returning how many (0 to 3). A leading
// coefficient that is negligible next to the others makes it the quadratic.
int solveCubic(double roots[3], double a, double b, double c, double d);

}  // namespace vemro::field
