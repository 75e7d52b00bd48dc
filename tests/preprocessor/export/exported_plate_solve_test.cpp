#include "formats/solving_file.h"
#include "platform/fake/fake_process_services.h"
#include "preprocessor/export/solving_export.h"
#include "preprocessor/files/kvx_file.h"
#include "solver/static_analysis.h"
#include "test_models.h"
#include "tests/support/temp_path.h"

#include <algorithm>
#include <cmath>

namespace shellfem::preprocessor {
namespace {

using namespace testing;

// Simply supported square plate, side a, uniform pressure q: Kirchhoff's centre
// deflection is 0.00406235 q a^4 / D with D = E t^3 / (12 (1 - nu^2)).
const double kCentreCoefficient = 0.00406235;

// Meshes the plate as four quarter polygons meeting at the centre, supports its
// edges (w = 0, and the rotation along the edge, with the membrane held) and
// loads it by q along the polygons' normal (+z).
Model supportedSquarePlate(double side, double thickness, double q, int divisionsPerQuarter) {
    Model model = modelWithAttributes(thickness, {2.0e5, 0.3});
    double h = 0.5 * side;
    std::vector<int> quarters;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            quarters.push_back(addRectangle(model, i * h, j * h, (i + 1) * h, (j + 1) * h));
    MeshResult meshed =
        model.meshPolygons(quarters, divisions(divisionsPerQuarter, divisionsPerQuarter));
    EXPECT_TRUE(meshed.ok()) << meshed.message;
    EXPECT_TRUE(model.applyPolygonLoad(quarters, {q, q, q, q}).ok());
    const double tolerance = 1e-9 * side;
    for (std::size_t n = 0; n < model.data().nodes.size(); ++n) {
        const Vec3& p = model.data().nodes[n].position;
        bool onX = std::abs(p.x) < tolerance || std::abs(p.x - side) < tolerance;
        bool onY = std::abs(p.y) < tolerance || std::abs(p.y - side) < tolerance;
        if (!onX && !onY)
            continue;
        std::array<int, 6> flags{1, 1, 1, onX ? 1 : 0, onY ? 1 : 0, 0};
        EXPECT_TRUE(model.applyRestraints({static_cast<int>(n)}, flags, ApplyMode::Add).ok());
    }
    return model;
}

double centreDeflection(const Model& model, double side, std::string& error,
                        long long* solverSkyline = nullptr) {
    const std::string path = uniqueTempPath("plate_solving.txt");
    if (Outcome exported = exportSolvingFile(path, model); !exported.ok()) {
        error = exported.message;
        return 0.0;
    }
    SolvingModel solving;
    Outcome read = readSolvingFile(path, solving);
    if (!read.ok()) {
        error = read.message;
        return 0.0;
    }
    if (solverSkyline) {
        StaticAnalysis analysis(solving);
        error = analysis.setUp().message;
        *solverSkyline = analysis.skylineEntries();
    }
    std::vector<double> displacements;
    if (Outcome solved = solveDisplacements(solving, displacements); !solved.ok()) {
        error = solved.message;
        return 0.0;
    }
    for (std::size_t n = 0; n < solving.nodes.size(); ++n)
        if (length(solving.nodes[n] - Vec3{0.5 * side, 0.5 * side, 0}) < 1e-9 * side)
            return displacements[6 * n + 2];
    error = "no node at the centre";
    return 0.0;
}

TEST(ExportedPlate, SolvesToTheKirchhoffDeflectionOfASimplySupportedPlate) {
    const double side = 1.0, thickness = 0.01, q = 1.0;
    const double rigidity = 2.0e5 * std::pow(thickness, 3) / (12.0 * (1.0 - 0.3 * 0.3));
    const double expected = kCentreCoefficient * q * std::pow(side, 4) / rigidity;
    double previousError = 1.0;
    for (int perQuarter : {2, 4, 8}) {
        Model model = supportedSquarePlate(side, thickness, q, perQuarter);
        std::string error;
        long long solverSkyline = 0;
        double w = centreDeflection(model, side, error, &solverSkyline);
        ASSERT_TRUE(error.empty()) << error;
        // The pressure acts along +z, the normal of the counter-clockwise polygons.
        double relativeError = std::abs(w - expected) / expected;
        std::printf("%2d x %2d mesh: w = %.6g (Kirchhoff %.6g), error %.3f %%\n", 2 * perQuarter,
                    2 * perQuarter, w, expected, 100.0 * relativeError);
        EXPECT_GT(w, 0.0);
        EXPECT_LT(relativeError, previousError);
        previousError = relativeError;
    }
    EXPECT_LT(previousError, 0.01);
}

TEST(ExportedPlate, SkylineOfTheStoredNumberingIsTheSolversProfile) {
    Model model = supportedSquarePlate(2.0, 0.02, 1.0, 5);
    std::vector<int> all;
    for (std::size_t p = 0; p < model.data().polygons.size(); ++p)
        all.push_back(static_cast<int>(p));
    MeshResult remeshed = model.meshPolygons(all, divisions(6, 6));
    ASSERT_TRUE(remeshed.ok()) << remeshed.message;
    std::string error;
    long long solverSkyline = 0;
    centreDeflection(model, 2.0, error, &solverSkyline);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(solverSkyline, remeshed.skylineStored);
    std::printf("12 x 12 plate of four polygons: skyline %lld as generated, %lld stored\n",
                remeshed.skylineAsGenerated, remeshed.skylineStored);
}

TEST(ExportedPlate, ExampleModelExportsAndSolves) {
    Model model;
    const Outcome read = readKvxFile(std::string(SHELLFEM_SOURCE_DIR) +
                                         "/examples/four_panel_plate/four_panel_plate.kvx",
                                     model);
    ASSERT_TRUE(read.ok()) << read.message;
    std::string error;
    double w = centreDeflection(model, 1.0, error);
    ASSERT_TRUE(error.empty()) << error;
    const double rigidity = 2.0e5 * std::pow(0.01, 3) / (12.0 * (1.0 - 0.3 * 0.3));
    EXPECT_NEAR(w, kCentreCoefficient / rigidity, 0.01 * kCentreCoefficient / rigidity);
}

} // namespace
} // namespace shellfem::preprocessor
