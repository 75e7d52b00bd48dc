#pragma once

#include "geometry/vec3.h"
#include "platform/canvas.h"
#include "view3d/matrix4.h"

#include <vector>

namespace shellfem::view3d {

// Window pixels of a model point plus its depth (output 2 of the view matrix,
// growing towards the eye), for drawing back to front and for picking.
struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
};

struct PlaneExtent {
    double umin = 0.0, umax = 0.0, vmin = 0.0, vmax = 0.0;
    double depthMin = 0.0, depthMax = 0.0; // depth range, for the rotation pivot
};

struct ModelExtent {
    double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0, zmin = 0.0, zmax = 0.0;
};

// Where the projection plane lies in the window (cx, cy, cu, cv and scale).
struct Placement {
    int cx = 0; // pixel onto which the plane centre (cu, cv) falls
    int cy = 0;
    double cu = 0.0; // plane point shown at (cx, cy)
    double cv = 0.0;
    double scale = 1.0; // pixels per model unit
};

enum class RotationAxis { ScreenVertical, ScreenHorizontal };

// The view record: a parallel projection of the model's points,
// turned by the angles Alpha and Beta (or by arrow rotations) and placed in
// the window by fit, pan and zoom. The view keeps its own copy of the points.
class View {
public:
    View(); // Alpha = Beta = 0 and the matching matrix

    void setWindowSize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Alpha and Beta in radians: rebuilds the matrix and projects the points.
    void setAngles(double alpha, double beta);
    double alpha() const { return alpha_; }
    double beta() const { return beta_; }
    const Matrix4& matrix() const { return matrix_; }
    // Replaces the matrix (tests, and programs that restore a saved view), then projects.
    void setMatrix(const Matrix4& m);

    void setPoints(std::vector<Vec3> points); // stores, measures and projects
    const std::vector<Vec3>& points() const { return points_; }
    const std::vector<PlanePoint>& projected() const { return projected_; }
    void project(); // runs every point through the matrix, recomputes the projected extent
    const PlaneExtent& projectedExtent() const { return extent_; }
    const ModelExtent& modelExtent() const { return modelExtent_; }

    const Placement& placement() const { return placement_; }

    platform::PixelPoint planeToPixel(double u, double v) const;
    PlanePoint pixelToPlane(platform::PixelPoint p) const; // depth 0
    platform::PixelPoint modelToPixel(const Vec3& p) const;
    ScreenPoint modelToScreen(const Vec3& p) const;
    std::vector<ScreenPoint> screenPoints() const; // of every stored point, in order

    // "All": the whole projected extent fills 95 % of the window; a zero
    // extent in one direction is passed over and the other ratio used.
    void fit();
    // The rectangle between two pixel corners fills the window (no margin).
    void zoomToRectangle(platform::PixelPoint a, platform::PixelPoint b);
    // The plane point under `at` stays there while the scale becomes `newScale`.
    void zoomAbout(platform::PixelPoint at, double newScale);
    // Wheel: zoom about `at` by 1.1 in (delta > 0) or out.
    void wheelZoom(platform::PixelPoint at, int delta);
    void pan(int dx, int dy);
    // Turns the view about the screen axis through the model point at the middle
    // of the projected extent. Returns false, changing nothing, when the view
    // matrix cannot be inverted; the program then reports it and ends.
    bool rotate(RotationAxis axis, double angle);

private:
    Matrix4 matrix_;
    double alpha_ = 0.0;
    double beta_ = 0.0;
    int width_ = 0;
    int height_ = 0;
    Placement placement_;
    PlaneExtent extent_;
    ModelExtent modelExtent_;
    std::vector<Vec3> points_;
    std::vector<PlanePoint> projected_;
};

} // namespace shellfem::view3d
