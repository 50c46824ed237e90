// Matrix3: an affine transform as four rows (three axes and a translation); points are row
// vectors, so p * M applies M.
#pragma once

#include "point3.h"

class Matrix3 {
public:
    Matrix3() { IdentityMatrix(); }
    explicit Matrix3(int init) {
        if (init)
            IdentityMatrix();
        else
            Zero();
    }
    Matrix3(const Point3& u, const Point3& v, const Point3& n, const Point3& t) {
        m[0] = u, m[1] = v, m[2] = n, m[3] = t;
    }

    void IdentityMatrix() {
        m[0] = Point3::XAxis, m[1] = Point3::YAxis, m[2] = Point3::ZAxis, m[3] = Point3::Origin;
    }
    void Zero() { m[0] = m[1] = m[2] = m[3] = Point3::Origin; }
    bool IsIdentity() const {
        return m[0] == Point3::XAxis && m[1] == Point3::YAxis && m[2] == Point3::ZAxis &&
               m[3] == Point3::Origin;
    }
    Point3 GetRow(int i) const { return m[Clamp(i)]; }
    void SetRow(int i, const Point3& p) { m[Clamp(i)] = p; }
    Point3 GetTrans() const { return m[3]; }
    void SetTrans(const Point3& p) { m[3] = p; }
    void NoTrans() { m[3] = Point3::Origin; }
    Point3& operator[](int i) { return m[Clamp(i)]; }
    const Point3& operator[](int i) const { return m[Clamp(i)]; }

    void Scale(const Point3& s) { *this = *this * ScaleMatrix(s); }
    void Translate(const Point3& p) { m[3] += p; }
    void RotateZ(float angle) { *this = *this * RotateZMatrix(angle); }
    void PreTranslate(const Point3& p) { m[3] += VectorTransform(p); }

    Point3 PointTransform(const Point3& p) const { return VectorTransform(p) + m[3]; }
    Point3 VectorTransform(const Point3& p) const { return m[0] * p.x + m[1] * p.y + m[2] * p.z; }

    Matrix3 operator*(const Matrix3& b) const {
        Matrix3 r(0);
        for (int i = 0; i < 4; ++i) r.m[i] = b.VectorTransform(m[i]);
        r.m[3] += b.m[3];
        return r;
    }
    Matrix3& operator*=(const Matrix3& b) { return *this = *this * b; }
    bool operator==(const Matrix3& b) const {
        return m[0] == b.m[0] && m[1] == b.m[1] && m[2] == b.m[2] && m[3] == b.m[3];
    }
    bool operator!=(const Matrix3& b) const { return !(*this == b); }

    static Matrix3 ScaleMatrix(const Point3& s) {
        return Matrix3({s.x, 0.f, 0.f}, {0.f, s.y, 0.f}, {0.f, 0.f, s.z}, Point3::Origin);
    }
    static Matrix3 TransMatrix(const Point3& p) {
        Matrix3 r;
        r.m[3] = p;
        return r;
    }
    static Matrix3 RotateZMatrix(float angle) {
        const float c = std::cos(angle), s = std::sin(angle);
        return Matrix3({c, s, 0.f}, {-s, c, 0.f}, Point3::ZAxis, Point3::Origin);
    }

private:
    static int Clamp(int i) { return i < 0 ? 0 : (i > 3 ? 3 : i); }
    Point3 m[4];
};

// The inverse of an affine transform; a singular matrix gives the identity.
inline Matrix3 Inverse(const Matrix3& m) {
    const Point3 a = m[0], b = m[1], c = m[2];
    const Point3 r0 = CrossProd(b, c), r1 = CrossProd(c, a), r2 = CrossProd(a, b);
    const float det = DotProd(a, r0);
    if (det == 0.f || !std::isfinite(det)) return Matrix3();
    const float inv = 1.f / det;
    // Columns of the inverse are the cross products; as rows of a row-vector matrix:
    Matrix3 r({r0.x * inv, r1.x * inv, r2.x * inv}, {r0.y * inv, r1.y * inv, r2.y * inv},
              {r0.z * inv, r1.z * inv, r2.z * inv}, Point3::Origin);
    r.SetTrans(-r.VectorTransform(m.GetTrans()));
    return r;
}

inline Point3 operator*(const Point3& p, const Matrix3& a) {
    return a.PointTransform(p);
}
inline Point3 VectorTransform(const Matrix3& a, const Point3& v) {
    return a.VectorTransform(v);
}
inline Point3 VectorTransform(const Point3& v, const Matrix3& a) {
    return a.VectorTransform(v);
}
inline Matrix3 ScaleMatrix(const Point3& s) {
    return Matrix3::ScaleMatrix(s);
}
inline Matrix3 TransMatrix(const Point3& p) {
    return Matrix3::TransMatrix(p);
}
inline Matrix3 RotateZMatrix(float angle) {
    return Matrix3::RotateZMatrix(angle);
}
