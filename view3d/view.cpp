#include "view3d/view.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace shellfem::view3d {

View::View() : matrix_(viewMatrix(0.0, 0.0)) {}

void View::setWindowSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}

void View::setAngles(double alpha, double beta) {
    alpha_ = alpha;
    beta_ = beta;
    matrix_ = viewMatrix(alpha, beta);
    project();
}

void View::setMatrix(const Matrix4& m) {
    matrix_ = m;
    project();
}

void View::setPoints(std::vector<Vec3> points) {
    points_ = std::move(points);
    modelExtent_ = ModelExtent{};
    if (!points_.empty()) {
        const Vec3& p0 = points_.front();
        modelExtent_ = {p0.x, p0.x, p0.y, p0.y, p0.z, p0.z};
        for (const Vec3& p : points_) {
            modelExtent_.xmin = std::min(modelExtent_.xmin, p.x);
            modelExtent_.xmax = std::max(modelExtent_.xmax, p.x);
            modelExtent_.ymin = std::min(modelExtent_.ymin, p.y);
            modelExtent_.ymax = std::max(modelExtent_.ymax, p.y);
            modelExtent_.zmin = std::min(modelExtent_.zmin, p.z);
            modelExtent_.zmax = std::max(modelExtent_.zmax, p.z);
        }
    }
    project();
}

void View::project() {
    projected_.resize(points_.size());
    extent_ = PlaneExtent{};
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const PlanePoint q = transformPoint(matrix_, points_[i]);
        projected_[i] = q;
        if (i == 0) {
            extent_ = {q.u, q.u, q.v, q.v, q.depth, q.depth};
            continue;
        }
        extent_.umin = std::min(extent_.umin, q.u);
        extent_.umax = std::max(extent_.umax, q.u);
        extent_.vmin = std::min(extent_.vmin, q.v);
        extent_.vmax = std::max(extent_.vmax, q.v);
        extent_.depthMin = std::min(extent_.depthMin, q.depth);
        extent_.depthMax = std::max(extent_.depthMax, q.depth);
    }
}

platform::PixelPoint View::planeToPixel(double u, double v) const {
    const Placement& p = placement_;
    return {p.cx + (u - p.cu) * p.scale, p.cy - (v - p.cv) * p.scale};
}

PlanePoint View::pixelToPlane(platform::PixelPoint px) const {
    const Placement& p = placement_;
    PlanePoint r;
    r.u = (px.x - p.cx) / p.scale + p.cu;
    r.v = (p.cy - px.y) / p.scale + p.cv;
    return r;
}

platform::PixelPoint View::modelToPixel(const Vec3& p) const {
    const PlanePoint q = transformPoint(matrix_, p);
    return planeToPixel(q.u, q.v);
}

ScreenPoint View::modelToScreen(const Vec3& p) const {
    const PlanePoint q = transformPoint(matrix_, p);
    const platform::PixelPoint px = planeToPixel(q.u, q.v);
    return {px.x, px.y, q.depth};
}

std::vector<ScreenPoint> View::screenPoints() const {
    std::vector<ScreenPoint> out(projected_.size());
    for (std::size_t i = 0; i < projected_.size(); ++i) {
        const platform::PixelPoint px = planeToPixel(projected_[i].u, projected_[i].v);
        out[i] = {px.x, px.y, projected_[i].depth};
    }
    return out;
}

namespace {

// The smaller of the usable ratios; a ratio that is zero, infinite or not a
// number (zero extent, zero window side) is passed over. Returns 0 if none is usable.
double smallerRatio(double side1, double extent1, double side2, double extent2) {
    double best = 0.0;
    for (const auto& [side, extent] : {std::pair{side1, extent1}, std::pair{side2, extent2}}) {
        if (!(extent > 0.0))
            continue;
        const double r = side / extent;
        if (!(r > 0.0) || !std::isfinite(r))
            continue;
        if (best == 0.0 || r < best)
            best = r;
    }
    return best;
}

} // namespace

void View::fit() {
    const double ratio = smallerRatio(width_, std::fabs(extent_.umax - extent_.umin), height_,
                                      std::fabs(extent_.vmax - extent_.vmin));
    if (ratio > 0.0)
        placement_.scale = 0.95 * ratio; // else: a single point or an empty window keeps its scale
    placement_.cx = width_ / 2;
    placement_.cy = height_ / 2;
    placement_.cu = (extent_.umin + extent_.umax) / 2.0;
    placement_.cv = (extent_.vmin + extent_.vmax) / 2.0;
}

void View::zoomToRectangle(platform::PixelPoint a, platform::PixelPoint b) {
    const PlanePoint pa = pixelToPlane(a);
    const PlanePoint pb = pixelToPlane(b);
    placement_.cu = (pa.u + pb.u) / 2.0;
    placement_.cv = (pa.v + pb.v) / 2.0;
    const double ratio =
        smallerRatio(width_, std::fabs(pb.u - pa.u), height_, std::fabs(pb.v - pa.v));
    if (ratio > 0.0)
        placement_.scale = ratio; // a rectangle of no size only centres the view
    placement_.cx = width_ / 2;
    placement_.cy = height_ / 2;
}

void View::zoomAbout(platform::PixelPoint at, double newScale) {
    const int px = static_cast<int>(std::lround(at.x));
    const int py = static_cast<int>(std::lround(at.y));
    placement_.cu += (px - placement_.cx) / placement_.scale;
    placement_.cv += (placement_.cy - py) / placement_.scale;
    placement_.cx = px;
    placement_.cy = py;
    // Far beyond any useful zoom the scale would underflow or overflow and the
    // plane centre would become infinite for good.
    if (newScale > 1e-200 && newScale < 1e200)
        placement_.scale = newScale;
}

void View::wheelZoom(platform::PixelPoint at, int delta) {
    zoomAbout(at, delta > 0 ? placement_.scale * 1.1 : placement_.scale / 1.1);
}

void View::pan(int dx, int dy) {
    placement_.cx += dx;
    placement_.cy += dy;
}

bool View::rotate(RotationAxis axis, double angle) {
    Matrix4 inverse{};
    if (!invertMatrix(matrix_, inverse))
        return false;
    // The pivot: the middle of the projected extent, at the middle depth of the
    // model, carried back into model coordinates.
    const double pu = (extent_.umin + extent_.umax) / 2.0;
    const double pv = (extent_.vmin + extent_.vmax) / 2.0;
    const double pd = (extent_.depthMin + extent_.depthMax) / 2.0;
    const double plane[4] = {pu, pv, pd, 1.0};
    double model[4] = {0, 0, 0, 0};
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 4; ++k)
            model[j] += plane[k] * inverse[k * 4 + j];
    const double w = model[3] != 0.0 ? model[3] : 1.0;
    const Vec3 pivot{model[0] / w, model[1] / w, model[2] / w};
    // The screen axis as a model direction: (0,1,0,0) or (1,0,0,0) through the inverse.
    const int r = axis == RotationAxis::ScreenVertical ? 1 : 0;
    const Vec3 direction{inverse[r * 4], inverse[r * 4 + 1], inverse[r * 4 + 2]};

    const Matrix4 turn =
        multiply(multiply(translationMatrix(-1.0 * pivot), rotationMatrix(direction, angle)),
                 translationMatrix(pivot));
    matrix_ = multiply(turn, matrix_);
    reorthonormaliseRows(matrix_);
    project();
    return true;
}

} // namespace shellfem::view3d
