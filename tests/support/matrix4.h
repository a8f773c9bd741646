// 4 x 4 matrices in double, for tests that follow the GL's transformations
// by plain arithmetic. Row-major, acting on column vectors, as in the GL's
// notation: m[row][column].
#ifndef MATRIX4_H
#define MATRIX4_H

#include <array>
#include <cmath>

namespace matrix4 {

// A type of its own, so that its operators are found by argument lookup.
struct Mat4 : std::array<std::array<double, 4>, 4> {};

inline Mat4 identity()
{
    Mat4 m{};
    for (int i = 0; i < 4; ++i) {
        m[i][i] = 1.0;
    }
    return m;
}

inline Mat4 operator*(const Mat4& a, const Mat4& b)
{
    Mat4 m{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) {
                m[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return m;
}

// What glScalef multiplies on.
inline Mat4 scaling(double x, double y, double z)
{
    Mat4 m = identity();
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
    return m;
}

// What glTranslatef multiplies on.
inline Mat4 translation(double x, double y, double z)
{
    Mat4 m = identity();
    m[0][3] = x;
    m[1][3] = y;
    m[2][3] = z;
    return m;
}

// What glRotatef multiplies on: a right-handed turn by `degrees` about the
// axis (x, y, z), of any length.
inline Mat4 rotation(double degrees, double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double k = 1.0 - c;
    Mat4 m = identity();
    m[0][0] = x * x * k + c;
    m[0][1] = x * y * k - z * s;
    m[0][2] = x * z * k + y * s;
    m[1][0] = y * x * k + z * s;
    m[1][1] = y * y * k + c;
    m[1][2] = y * z * k - x * s;
    m[2][0] = z * x * k - y * s;
    m[2][1] = z * y * k + x * s;
    m[2][2] = z * z * k + c;
    return m;
}

// The point (x, y, z, 1) carried through m.
inline std::array<double, 3> apply(const Mat4& m, double x, double y, double z)
{
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i) {
        out[static_cast<size_t>(i)] = m[i][0] * x + m[i][1] * y + m[i][2] * z + m[i][3];
    }
    return out;
}

} // namespace matrix4

#endif // MATRIX4_H
