// Eigen-decomposition of a symmetric 3x3 matrix by Jacobi rotations.
#pragma once

#include "math/vector_math.h"

namespace quorix {

// Diagonalises the symmetric matrix a (eigenvalues ascending on the
// diagonal) and returns the eigenvectors as the columns of v.
void JacobiEigen(Mat3& a, Mat3& v);

}  // namespace quorix
