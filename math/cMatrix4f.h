// 4x4 float matrix in OpenGL layout (column-major, column vectors), with in-place inversion.
#pragma once

#include "math/cVec3f.h"
#include "math/cVec4f.h"

namespace qvr {

class cMatrix4f {
public:
    //! Element (row r, column c) is value[c * 4 + r]; the translation is value[12..14].
    float value[16] = {};
    //! Right-hand side of invert(); written by setIdentity() and never changed by invert().
    float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    //! Scratch of invert(): the right-hand side as it is eliminated.
    float work[16] = {};
    //! Scratch of invert(): the current pivot and the three elimination factors.
    float pivot[4] = {};

    //! Element (row, column).
    float& at(int row, int column) { return value[column * 4 + row]; }
    float at(int row, int column) const { return value[column * 4 + row]; }

    void setIdentity();
    //! The identity with translation v.
    void setTranslation(const cVec3f& v);
    //! values[c*4 .. c*4+3] = a, b, d, e; a column outside 0..3 changes nothing.
    void setColumn(int column, float a, float b, float d, float e);
    //! OpenGL perspective projection (vertical field of view in degrees); touches only the values.
    void setPerspective(float fovDegrees, float aspect, float zNear, float zFar);

    //! this * b, as a new matrix with its identity block set.
    cMatrix4f multiply(const cMatrix4f& b) const;
    //! Row i (0..3).
    cVec4f getRow(int i) const;
    //! this * v.
    cVec4f transform(const cVec4f& v) const;

    //! Gauss-Jordan elimination without pivot search or row exchange. A zero pivot (also one
    //! that appears during elimination) yields infinities or NaN, never an error.
    void invert();
};

} // namespace qvr
