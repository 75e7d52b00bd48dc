#include "preprocessor/files/kvx_file.h"

#include "formats/safe_file_write.h"
#include "platform/fake/fake_process_services.h"
#include "test_models.h"
#include "tests/support/memory_limit.h"
#include "tests/support/temp_path.h"
#include "tests/support/write_failures.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace shellfem::preprocessor {
namespace {

using namespace testing;

std::string textOf(const ModelData& data) {
    std::ostringstream out;
    writeKvx(out, data);
    return out.str();
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string tempPath(const std::string& name) {
    return uniqueTempPath(name);
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every section filled: a meshed square and trapezoid with loads, restraints and forces,
// and an unmeshed triangle with another material and thickness.
Model modelWithEverySection() {
    Model model = modelWithAttributes();
    EXPECT_TRUE(model.addMaterial({70000.0, 0.33}).ok());
    EXPECT_TRUE(model.addThickness(0.25).ok());
    int left = addRectangle(model, 0, 0, 1, 1);
    int right = addPolygon(model, {addPoint(model, 1, 0), addPoint(model, 2, 0),
                                   addPoint(model, 2, 2), addPoint(model, 1, 1)});
    EditResult triangle = model.createPolygon(
        {addPoint(model, 0, 2, 0.5), addPoint(model, 1, 2, 0.5), addPoint(model, 0.5, 3, 0.5)}, 1,
        1);
    EXPECT_TRUE(triangle.ok());
    EXPECT_TRUE(model.meshPolygons({left, right}, divisions(2, 2)).ok());
    EXPECT_TRUE(model.applyPolygonLoad({right}, {-1.5, -2, -2.25, -0.125}).ok());
    EXPECT_TRUE(model.applyPolygonLoad({triangle.created[0]}, {3, 0, 0, 0}).ok());
    EXPECT_TRUE(model.applyRestraints({0, 3}, {1, 1, 1, 0, 1, 0}, ApplyMode::Replace).ok());
    EXPECT_TRUE(model.applyForces({7}, {1, -2, 3.5, 0, 0.25, -1e3}, ApplyMode::Replace).ok());
    return model;
}

TEST(KvxFile, RoundTripKeepsEverySection) {
    Model model = modelWithEverySection();
    const std::string path = tempPath("round_trip.kvx");
    const Outcome saved = writeKvxFile(path, model);
    ASSERT_TRUE(saved.ok());
    EXPECT_TRUE(saved.message.empty()) << saved.message;
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));

    Model back;
    ASSERT_TRUE(readKvxFile(path, back).ok());
    const ModelData& a = model.data();
    const ModelData& b = back.data();
    ASSERT_EQ(b.materials.size(), 2u);
    EXPECT_EQ(b.materials[1].E, 70000.0);
    EXPECT_EQ(b.materials[1].Mu, 0.33);
    EXPECT_EQ(b.thicknesses, a.thicknesses);
    ASSERT_EQ(b.points.size(), a.points.size());
    EXPECT_EQ(b.points[10].position.z, 0.5);
    ASSERT_EQ(b.polygons.size(), 3u);
    EXPECT_EQ(b.polygons[2].vertices, a.polygons[2].vertices);
    EXPECT_EQ(b.polygons[2].material, 1);
    EXPECT_TRUE(b.polygons[1].meshed);
    EXPECT_FALSE(b.polygons[2].meshed);
    ASSERT_EQ(b.polygonLoads.size(), 2u);
    EXPECT_EQ(b.polygonLoads[0].q, a.polygonLoads[0].q);
    ASSERT_EQ(b.nodes.size(), a.nodes.size());
    ASSERT_EQ(b.elements.size(), a.elements.size());
    for (std::size_t e = 0; e < a.elements.size(); ++e) {
        EXPECT_EQ(b.elements[e].nodes, a.elements[e].nodes);
        EXPECT_EQ(b.elements[e].polygon, a.elements[e].polygon);
    }
    ASSERT_EQ(b.restraints.size(), 2u);
    EXPECT_EQ(b.restraints[1].flags, a.restraints[1].flags);
    ASSERT_EQ(b.forces.size(), 1u);
    EXPECT_EQ(b.forces[0].values, a.forces[0].values);
    EXPECT_DOUBLE_EQ(back.polygonGeometry()[1].area, 1.5);
    EXPECT_EQ(back.extent().max.y, 3.0);
    // Writing what was read gives the same file.
    EXPECT_EQ(textOf(b), fileText(path));
}

TEST(KvxFile, ModelReadBackMeshesOnWithoutCracksDespiteRoundedCoordinates) {
    // Thirds and a slanted edge do not survive five decimals exactly.
    Model model = modelWithAttributes();
    int a = addPoint(model, 0, 0), b = addPoint(model, 1, 0.3), c = addPoint(model, 1.2, 1.1),
        d = addPoint(model, 0, 1), e = addPoint(model, 2, 0.2), f = addPoint(model, 2.1, 1.3);
    addPolygon(model, {a, b, c, d});
    int right = addPolygon(model, {b, e, f, c});
    ASSERT_TRUE(model.meshPolygons({0}, divisions(3, 3)).ok());
    const std::string path = tempPath("rounded.kvx");
    ASSERT_TRUE(writeKvxFile(path, model).ok());
    Model back;
    ASSERT_TRUE(readKvxFile(path, back).ok());

    MeshResult r = back.meshPolygons({right}, divisions(3, 3));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(back.data().nodes.size(), 16u + 12u);
    for (const auto& [edge, uses] : edgeUse(back.data()))
        EXPECT_LE(uses, 2);
}

TEST(KvxFile, SavingAValueThatFiveDecimalsLoseWarnsButSaves) {
    Model model = modelWithEverySection();
    ASSERT_TRUE(model.applyPolygonLoad({0}, {-1, -1, 2e-6, -1}).ok());
    const std::string path = tempPath("small_load.kvx");
    const Outcome saved = writeKvxFile(path, model);
    ASSERT_TRUE(saved.ok());
    EXPECT_NE(saved.message.find("Distributed load of polygon 0 q2: 2e-06 is saved as 0.00000"),
              std::string::npos)
        << saved.message;
    Model back;
    EXPECT_TRUE(readKvxFile(path, back).ok());
}

TEST(KvxFile, TheWarningNamesThePointOrNodeCoordinateThatFiveDecimalsLose) {
    Model model = modelWithEverySection();
    ModelData data = model.data();
    data.nodes[2].position.y = 3e-7;
    model.assign(data);
    const std::string path = tempPath("small_coordinate.kvx");
    Outcome saved = writeKvxFile(path, model);
    ASSERT_TRUE(saved.ok());
    EXPECT_NE(saved.message.find("Node 2 y: 3e-07 is saved as 0.00000"), std::string::npos)
        << saved.message;

    // Geometric points come first in the file, so their loss is the one named.
    data.points[1].position.z = -4e-6;
    model.assign(data);
    saved = writeKvxFile(path, model);
    ASSERT_TRUE(saved.ok());
    EXPECT_NE(saved.message.find("Geometric point 1 z: -4e-06 is saved as -0.00000"),
              std::string::npos)
        << saved.message;
}

TEST(KvxFile, LayoutOfTriangleAndEmptySections) {
    ModelData data;
    data.materials = {{210000.0, 0.3}};
    data.thicknesses = {0.01};
    data.points = {{{0, 0, 0}}, {{1, 0, 0}}, {{0.5, 1.25, -2.0}}};
    Polygon triangle;
    triangle.vertices = {0, 1, 2};
    data.polygons = {triangle};
    EXPECT_EQ(textOf(data), "### Corvanta R1.00 ###\n"
                            "Number of materials:NMT=1\n"
                            "#0:\n"
                            "E=210000\n"
                            "Mu=0.3\n"
                            "Number of thicknesses:NTK=1\n"
                            "#0:\n"
                            "TK=0.01\n"
                            "Number of geometric points:NGPT=3\n"
                            "0:0.00000,0.00000,0.00000\n"
                            "1:1.00000,0.00000,0.00000\n"
                            "2:0.50000,1.25000,-2.00000\n"
                            "Number of polygons:NPG=1\n"
                            "0[3]:0,1,2[0,0]\n"
                            "Number of distributed loads of polygons:NPGDL=0\n"
                            "Number of nodal points:NPOIN=0\n"
                            "Number of elements:NELEM=0\n"
                            "Number of restricted nodal points:NRN=0\n"
                            "Number of forces:NFOR=0\n"
                            "###end###\n");
}

TEST(KvxFile, MissingFileAndOtherVersionsAreRefusedAndLeaveTheModelCleared) {
    Model model = modelWithEverySection();
    const std::string missing = tempPath("no_such_file.kvx");
    Outcome read = readKvxFile(missing, model);
    EXPECT_EQ(read.status, Status::CannotOpen);
    EXPECT_EQ(read.message, "单元信息文件读取错误!\n" + missing + " cannot be opened for reading.");
    EXPECT_TRUE(model.data().points.empty());

    std::string text = textOf(modelWithEverySection().data());
    const std::string path = tempPath("version.kvx");
    writeText(path, "### Corvanta R1.01 ###" + text.substr(text.find('\n')));
    model = modelWithEverySection();
    read = readKvxFile(path, model);
    EXPECT_EQ(read.status, Status::WrongVersion);
    EXPECT_EQ(read.message, "前处理文本文件版本错误!");
    EXPECT_TRUE(model.data().nodes.empty());

    writeText(path, "### Corvanta R1.0 ###" + text.substr(text.find('\n')));
    EXPECT_TRUE(readKvxFile(path, model).ok());

    writeText(path, "");
    read = readKvxFile(path, model);
    EXPECT_EQ(read.status, Status::Malformed);
    EXPECT_NE(read.message.find("the file ends early, after line 0\n  header"), std::string::npos)
        << read.message;
}

struct BrokenRecord {
    const char* name;
    const char* from;
    const char* to;
    const char* expected; // part of the message
};

class KvxMalformed : public ::testing::TestWithParam<BrokenRecord> {};

TEST_P(KvxMalformed, StopsWithTheLineAndRecordAndLeavesTheModelCleared) {
    const BrokenRecord& broken = GetParam();
    std::string text = textOf(modelWithEverySection().data());
    std::size_t at = text.find(broken.from);
    ASSERT_NE(at, std::string::npos) << broken.from;
    text.replace(at, std::string(broken.from).size(), broken.to);
    const std::string path = tempPath("malformed.kvx");
    writeText(path, text);

    Model model = modelWithEverySection();
    const Outcome read = readKvxFile(path, model);
    EXPECT_FALSE(read.ok());
    const std::string& message = read.message;
    EXPECT_EQ(message.rfind("单元信息文件读取错误!\n" + path + ", ", 0), 0u) << message;
    EXPECT_NE(message.find(broken.expected), std::string::npos) << message;
    EXPECT_TRUE(model.data().points.empty());
    EXPECT_TRUE(model.data().materials.empty());
    EXPECT_TRUE(model.polygonGeometry().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Records, KvxMalformed,
    ::testing::Values(
        BrokenRecord{"material", "Mu=0.33", "Mu=x", "line 8: \"Mu=x\"\n  material 1: expected"},
        BrokenRecord{"point_id", "\n3:", "\n4:", "geometric point 3: the record is numbered 4"},
        BrokenRecord{"vertex_out_of_range", "2[3]:8,9,10[", "2[3]:8,9,11[",
                     "polygon 2: point ID 11 is out of range (NGPT=11)"},
        BrokenRecord{"repeated_vertex", "2[3]:8,9,10[", "2[3]:8,9,8[",
                     "polygon 2: point ID 8 is used twice"},
        BrokenRecord{"two_vertices", "2[3]:8,9,10[", "2[2]:8,9[",
                     "polygon 2: a polygon needs at least 3 vertices, not 2"},
        BrokenRecord{"thickness_out_of_range", "8,9,10[1,1]", "8,9,10[1,2]",
                     "thickness ID 2 is out of range (NTK=2)"},
        BrokenRecord{"load_polygon", "\n2:3.00000", "\n3:3.00000", "polygon ID 3 is out of range"},
        BrokenRecord{"element_node", "[0]\n", ",1[0]\n", "element 0: expected"},
        BrokenRecord{"negative_count", "NFOR=1", "NFOR=-1", "force count: the count is negative"},
        BrokenRecord{"count_beyond_records", "NFOR=1", "NFOR=2",
                     "line 63: \"###end###\"\n  force 1: expected"},
        BrokenRecord{"force_node", "\n7<", "\n99<", "force 0: node ID 99 is out of range"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KvxFile, AnElementThatUsesANodeTwiceIsRefused) {
    std::string text = textOf(modelWithEverySection().data());
    // The first element record "0:a,b,c,d[p]": make its second corner the first.
    const std::size_t line = text.find("\n", text.find("NELEM=")) + 1;
    const std::size_t a = line + 2, comma = text.find(',', a);
    text.replace(comma + 1, text.find(',', comma + 1) - comma - 1, text.substr(a, comma - a));
    const std::string path = tempPath("element.kvx");
    writeText(path, text);
    Model model;
    const Outcome read = readKvxFile(path, model);
    EXPECT_FALSE(read.ok());
    EXPECT_NE(
        read.message.find("element 0: node ID " + text.substr(a, comma - a) + " is used twice"),
        std::string::npos)
        << read.message;
    EXPECT_TRUE(model.data().elements.empty());
}

const char* const kEmptyAttributes =
    "### Corvanta R1.00 ###\nNumber of materials:NMT=0\nNumber of thicknesses:NTK=0\n";

Outcome readKvxText(const std::string& text) {
    std::istringstream in(text);
    ModelData data;
    return readKvx(in, data, "model.kvx");
}

TEST(KvxFile, ACountTakesNoMoreMemoryThanTheFileHolds) {
    if (!SHELLFEM_MEMORY_LIMITS)
        GTEST_SKIP() << "no address-space limit under the sanitizers";
    std::string text =
        std::string(kEmptyAttributes) + "Number of geometric points:NGPT=2147483647\n";
    text.append(20u << 20, 'x');
    EXPECT_TRUE(succeedsWithinMemory(384u << 20, [&] {
        const Outcome r = readKvxText(text);
        return r.status == Status::Malformed &&
               r.message.find("geometric point 0: expected") != std::string::npos;
    }));
}

TEST(KvxFile, APolygonOfManyVerticesIsCheckedInLinearTime) {
    const int count = 300000;
    std::string text = "### Corvanta R1.00 ###\nNumber of materials:NMT=1\n#0:\nE=1\nMu=0.3\n"
                       "Number of thicknesses:NTK=1\n#0:\nTK=1\nNumber of geometric points:NGPT=" +
                       std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + ":" + std::to_string(i) + ".00000,0.00000,0.00000\n";
    text += "Number of polygons:NPG=1\n0[" + std::to_string(count) + "]:";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + (i + 1 < count ? "," : "[0,0]\n");
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = readKvxText(text);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The polygon reads; the file then ends before the loads.
    EXPECT_NE(r.message.find("distributed load count"), std::string::npos) << r.message;
    EXPECT_LT(seconds, 4.0) << seconds; // a pairwise check takes over 8 s
}

TEST(KvxFile, MagnitudesWhoseProductsOverflowAreRefusedWithTheirRecord) {
    const std::string good = textOf(modelWithEverySection().data());
    struct Case {
        const char* from;
        const char* to;
        const char* expected;
    } cases[] = {
        {"E=210000", "E=1e308", "material 0: E=1e+308 is beyond the largest magnitude accepted"},
        {"TK=0.25", "TK=1e200", "thickness 1: TK=1e+200 is beyond"},
        {"\n2:1.00000,1.00000,0.00000", "\n2:1e70,1.00000,1e160",
         "geometric point 2: z=1e+160 is beyond"},
        {"-2.25000,", "-2e151,", "distributed load 0: q2=-2e+151 is beyond"},
        {"3.50000,", "3e200,", "force 0: Fz=3e+200 is beyond"},
    };
    for (const Case& c : cases) {
        std::string text = good;
        const std::size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, std::strlen(c.from), c.to);
        const Outcome r = readKvxText(text);
        EXPECT_EQ(r.status, Status::Malformed);
        EXPECT_NE(r.message.find(c.expected), std::string::npos) << r.message;
    }
}

TEST(KvxFile, AShortMaterialOrAFolderIsReportedWhereItIs) {
    std::string text = textOf(modelWithEverySection().data());
    text.replace(text.find("E=210000"), 8, "E=");
    EXPECT_NE(readKvxText(text).message.find("line 4: \"E=\"\n  material 0: expected"),
              std::string::npos)
        << readKvxText(text).message;

    const std::string folder = tempPath("folder.kvx");
    std::filesystem::create_directory(folder);
    Model model;
    const Outcome r = readKvxFile(folder, model);
    std::filesystem::remove(folder);
    EXPECT_EQ(r.status, Status::CannotOpen);
    EXPECT_EQ(r.message,
              std::string(kKvxReadError) + "\n" + folder + " cannot be opened for reading.");
}

TEST(KvxFile, FailedSavesSayTheSaveFailedAndKeepTheEarlierFile) {
    Model model = modelWithEverySection();
    const auto failedSave = [](const Outcome& o, const std::string& path) {
        return !o.ok() && o.message == "文件保存失败!\n" + path + " cannot be written.";
    };
    const std::string nowhere = tempPath("no_such_folder/model.kvx");
    EXPECT_TRUE(failedSave(writeKvxFile(nowhere, model), nowhere));

    const std::string path = tempPath("kept.kvx");
    ASSERT_TRUE(writeKvxFile(path, model).ok());
    const std::string saved = fileText(path);
    ASSERT_TRUE(model.addPoint({7, 7, 7}).ok());

    // The temporary file cannot be created.
    std::filesystem::create_directory(temporaryPathFor(path));
    EXPECT_TRUE(failedSave(writeKvxFile(path, model), path));
    EXPECT_EQ(fileText(path), saved);
    std::filesystem::remove(temporaryPathFor(path));

    // The medium fills up half-way through the save.
    Outcome written;
    {
        FileSizeLimit fullDisk(200);
        written = writeKvxFile(path, model);
    }
    EXPECT_TRUE(failedSave(written, path));
    EXPECT_EQ(fileText(path), saved);
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));

    // The folder cannot be written.
    const std::string folder = tempPath("read_only");
    std::filesystem::create_directory(folder);
    const std::string inFolder = folder + "/model.kvx";
    ASSERT_TRUE(writeKvxFile(inFolder, model).ok());
    const std::string savedInFolder = fileText(inFolder);
    ASSERT_TRUE(model.addPoint({8, 8, 8}).ok());
    EXPECT_TRUE(succeedsInReadOnlyFolder(folder, [&] {
        return failedSave(writeKvxFile(inFolder, model), inFolder) &&
               fileText(inFolder) == savedInFolder;
    }));
    std::filesystem::remove_all(folder);

    ASSERT_TRUE(writeKvxFile(path, model).ok());
    EXPECT_NE(fileText(path), saved);
}

} // namespace
} // namespace shellfem::preprocessor
