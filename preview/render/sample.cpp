#include "preview/render/sample.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "preview/render/point_context.h"

namespace QuarelPreview {

namespace {

// Reads up to `most` numbers of a line into v; their count, 0 for a line to skip, or -1 with
// `error` naming the first word that is not a number. `mostWord` is `most` as the message says it.
int ReadNumbers(std::string_view line, float* v, int most, const char* mostWord, const char* form,
                std::string& error) {
    int n = 0;
    std::size_t i = 0;
    auto skipSpace = [&] {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    };
    skipSpace();
    if (i == line.size() || line[i] == '#') return 0;
    while (i < line.size()) {
        if (n == most) {
            error = std::string("more than ") + mostWord + " numbers; a point is " + form;
            return -1;
        }
        if (line[i] == '+') ++i;
        auto [next, ec] = std::from_chars(line.data() + i, line.data() + line.size(), v[n]);
        if (ec == std::errc::result_out_of_range) {
            // Too small for a float is zero, or nearly; too large is refused as such.
            double d = 0.0;
            const auto wide = std::from_chars(line.data() + i, line.data() + line.size(), d);
            next = wide.ptr;
            if (wide.ec == std::errc() && std::fabs(d) <= std::numeric_limits<float>::max()) {
                v[n] = static_cast<float>(d);
                ec = std::errc();
            }
        }
        const std::size_t end = static_cast<std::size_t>(next - line.data());
        if (ec != std::errc() ||
            (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])))) {
            std::size_t stop = i;
            while (stop < line.size() && !std::isspace(static_cast<unsigned char>(line[stop])))
                ++stop;
            // Appended piece by piece: GCC 12 warns falsely on "'" + std::string at -O3.
            error.assign(1, '\'');
            error.append(line.substr(i, stop - i));
            error.append(ec == std::errc::result_out_of_range ? "' is beyond the range of a float"
                                                              : "' is not a number");
            return -1;
        }
        i = end;
        ++n;
        skipSpace();
    }
    return n;
}

// How far `p` is from the surface of the box from the origin to `box`.
float DistanceToBoxSurface(const Point3& box, const Point3& p) {
    const Point3 out(std::max({0.f, -p.x, p.x - box.x}), std::max({0.f, -p.y, p.y - box.y}),
                     std::max({0.f, -p.z, p.z - box.z}));
    if (out.x > 0.f || out.y > 0.f || out.z > 0.f) return out.Length();
    return std::min({p.x, box.x - p.x, p.y, box.y - p.y, p.z, box.z - p.z});
}

}  // namespace

bool OnBoxSurface(const Point3& box, const Point3& p, std::string& error) {
    const float tolerance = kBoxSurfaceTolerance * std::max({box.x, box.y, box.z});
    const float d = DistanceToBoxSurface(box, p);
    if (d <= tolerance) return true;
    char text[256];
    std::snprintf(text, sizeof text,
                  "the point %g %g %g is %g from the surface of the box %g x %g x %g; box points "
                  "lie on its surface, within %g",
                  static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z),
                  static_cast<double>(d), static_cast<double>(box.x), static_cast<double>(box.y),
                  static_cast<double>(box.z), static_cast<double>(tolerance));
    error = text;
    return false;
}

int ParseBoxSamplePoint(std::string_view line, BoxSamplePoint& p, std::string& error) {
    float v[6] = {};
    constexpr const char* kForm = "'x y z nx ny nz'";
    const int n = ReadNumbers(line, v, 6, "6", kForm, error);
    if (n <= 0) return n;
    if (n != 6) {
        error = std::string("a box point is ") + kForm + ", not " + std::to_string(n) + " number" +
                (n == 1 ? "" : "s");
        return -1;
    }
    for (const float x : v)
        if (!std::isfinite(x)) {
            error = "every number of a box point is finite";
            return -1;
        }
    const Point3 normal(v[3], v[4], v[5]);
    if (!(normal.Length() > 0.f) || !std::isfinite(normal.Length())) {
        error = "the normal nx ny nz has no length";
        return -1;
    }
    p = BoxSamplePoint{Point3(v[0], v[1], v[2]), normal};
    return 1;
}

int ParseSamplePoint(std::string_view line, SamplePoint& p, std::string& error) {
    float v[4] = {0.f, 0.f, 0.f, 0.f};
    const int n = ReadNumbers(line, v, 4, "four", "'u v' or 'u v du dv'", error);
    if (n <= 0) return n;
    if (n != 2 && n != 4) {
        error = "a point is 'u v' or 'u v du dv', not " + std::to_string(n) + " number" +
                (n == 1 ? "" : "s");
        return -1;
    }
    for (int k = 0; k < n; ++k)
        if (!std::isfinite(v[k])) {
            error = "every number of a point is finite";
            return -1;
        }
    if (n == 4 && (!(v[2] >= 0.f) || !(v[3] >= 0.f))) {
        error = "filter sizes du and dv are never negative";
        return -1;
    }
    p = SamplePoint{v[0], v[1], v[2], v[3]};
    return 1;
}

bool RunSample(Texmap* map, Output output, const CellQuery& cells, std::FILE* in, std::FILE* out,
               std::FILE* err, const Point3* box) {
    const ShadeContextBuilder builder(output == Output::Cells ? nullptr : map);
    PointShadeContext sc;
    char* buffer = nullptr;
    std::size_t capacity = 0;
    long number = 0;
    bool ok = true;
    for (;;) {
        const ssize_t length = getline(&buffer, &capacity, in);
        if (length < 0) break;
        ++number;
        SamplePoint p;
        BoxSamplePoint onBox;
        std::string error;
        const std::string_view line(buffer, static_cast<std::size_t>(length));
        int kind = box ? ParseBoxSamplePoint(line, onBox, error) : ParseSamplePoint(line, p, error);
        if (kind > 0 && box && !OnBoxSurface(*box, onBox.p, error)) kind = -1;
        if (kind == 0) continue;
        if (kind < 0) {
            std::fprintf(err, "quarel-preview sample: standard input line %ld: %s\n", number,
                         error.c_str());
            ok = false;
            break;
        }
        if (box) {
            builder.SetBoxSurfacePoint(sc, *box, onBox.p, onBox.n);
            p.u = onBox.p.x / box->x, p.v = onBox.p.y / box->y;
        } else {
            builder.SetPlanePoint(sc, p.u, p.v, p.du, p.dv);
        }
        const AColor c = SampleOutput(output, map, cells, sc, p.u, p.v);
        std::fprintf(out, "%.9g %.9g %.9g %.9g\n", static_cast<double>(c.r),
                     static_cast<double>(c.g), static_cast<double>(c.b), static_cast<double>(c.a));
    }
    std::free(buffer);
    std::fflush(out);
    return ok;
}

}  // namespace QuarelPreview
