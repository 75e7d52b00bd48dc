#include "preprocessor/model/model_compaction.h"

#include "formats/number_format.h"

namespace shellfem::preprocessor {

namespace {

// Points the records of `list` at the renumbered nodes; a record on a removed node
// is dropped, and `dropped(node)` is told its old node first.
template <class Record, class OnDropped>
void remapNodeRecords(std::vector<Record>& list, const std::vector<int>& index, OnDropped dropped) {
    std::vector<bool> removed(list.size(), false);
    for (std::size_t r = 0; r < list.size(); ++r) {
        int old = list[r].node;
        removed[r] = index[static_cast<std::size_t>(old)] < 0;
        if (removed[r])
            dropped(old);
        list[r].node = index[static_cast<std::size_t>(old)];
    }
    eraseMarked(list, removed);
}

} // namespace

std::vector<int> keptIndices(const std::vector<bool>& removed) {
    std::vector<int> index(removed.size(), -1);
    int next = 0;
    for (std::size_t i = 0; i < removed.size(); ++i)
        if (!removed[i])
            index[i] = next++;
    return index;
}

std::string describePosition(const Vec3& p) {
    std::string s = "(";
    appendGeneral(s, p.x);
    s += ", ";
    appendGeneral(s, p.y);
    s += ", ";
    appendGeneral(s, p.z);
    return s + ")";
}

std::vector<bool> nodesFreedBy(const ModelData& data, const std::vector<bool>& elementRemoved) {
    std::vector<bool> usedByRemoved(data.nodes.size(), false);
    std::vector<bool> usedByKept(data.nodes.size(), false);
    for (std::size_t e = 0; e < data.elements.size(); ++e)
        for (int node : data.elements[e].nodes)
            (elementRemoved[e] ? usedByRemoved : usedByKept)[static_cast<std::size_t>(node)] = true;
    std::vector<bool> freed(data.nodes.size(), false);
    for (std::size_t n = 0; n < freed.size(); ++n)
        freed[n] = usedByRemoved[n] && !usedByKept[n];
    return freed;
}

void removeElements(ModelData& data, const std::vector<bool>& elementRemoved) {
    eraseMarked(data.elements, elementRemoved);
}

void removeNodes(ModelData& data, const std::vector<bool>& nodeRemoved, std::string& notice) {
    std::vector<int> index = keptIndices(nodeRemoved);
    for (Element& e : data.elements)
        for (int& node : e.nodes)
            node = index[static_cast<std::size_t>(node)];
    auto dropLine = [&](const char* what) {
        return [&data, &notice, what](int node) {
            notice += std::string(what) + " on node " + std::to_string(node) + " at " +
                      describePosition(data.nodes[static_cast<std::size_t>(node)].position) +
                      " was removed with the node.\n";
        };
    };
    remapNodeRecords(data.restraints, index, dropLine("The restraint"));
    remapNodeRecords(data.forces, index, dropLine("The force"));
    eraseMarked(data.nodes, nodeRemoved);
}

void permuteNodes(ModelData& data, const std::vector<int>& newIndexOfOld) {
    std::vector<Node> nodes(data.nodes.size());
    for (std::size_t i = 0; i < data.nodes.size(); ++i)
        nodes[static_cast<std::size_t>(newIndexOfOld[i])] = data.nodes[i];
    data.nodes = std::move(nodes);
    for (Element& e : data.elements)
        for (int& node : e.nodes)
            node = newIndexOfOld[static_cast<std::size_t>(node)];
    for (Restraint& r : data.restraints)
        r.node = newIndexOfOld[static_cast<std::size_t>(r.node)];
    for (NodalForce& f : data.forces)
        f.node = newIndexOfOld[static_cast<std::size_t>(f.node)];
}

void removePolygons(ModelData& data, const std::vector<bool>& polygonRemoved) {
    std::vector<int> index = keptIndices(polygonRemoved);
    for (Element& e : data.elements)
        e.polygon = index[static_cast<std::size_t>(e.polygon)];
    std::vector<bool> loadDropped(data.polygonLoads.size(), false);
    for (std::size_t l = 0; l < data.polygonLoads.size(); ++l) {
        PolygonLoad& load = data.polygonLoads[l];
        loadDropped[l] = polygonRemoved[static_cast<std::size_t>(load.polygon)];
        load.polygon = index[static_cast<std::size_t>(load.polygon)];
    }
    eraseMarked(data.polygonLoads, loadDropped);
    eraseMarked(data.polygons, polygonRemoved);
}

} // namespace shellfem::preprocessor
