#include "preprocessor/model/model_compaction.h"

#include "formats/number_format.h"

namespace shellfem::preprocessor {

namespace {

// New positions of the kept records, -1 for the removed ones.
std::vector<int> keptIndices(const std::vector<bool>& removed) {
    std::vector<int> index(removed.size(), -1);
    int next = 0;
    for (std::size_t i = 0; i < removed.size(); ++i)
        if (!removed[i])
            index[i] = next++;
    return index;
}

template <class T> void eraseMarked(std::vector<T>& list, const std::vector<bool>& removed) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!removed[i])
            list[next++] = std::move(list[i]);
    list.resize(next);
}

} // namespace

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
    auto dropLine = [&](const char* what, int node) {
        notice += std::string(what) + " on node " + std::to_string(node) + " at " +
                  describePosition(data.nodes[static_cast<std::size_t>(node)].position) +
                  " was removed with the node.\n";
    };
    std::vector<bool> restraintDropped(data.restraints.size(), false);
    for (std::size_t r = 0; r < data.restraints.size(); ++r) {
        int old = data.restraints[r].node;
        restraintDropped[r] = index[static_cast<std::size_t>(old)] < 0;
        if (restraintDropped[r])
            dropLine("The restraint", old);
        data.restraints[r].node = index[static_cast<std::size_t>(old)];
    }
    eraseMarked(data.restraints, restraintDropped);
    std::vector<bool> forceDropped(data.forces.size(), false);
    for (std::size_t f = 0; f < data.forces.size(); ++f) {
        int old = data.forces[f].node;
        forceDropped[f] = index[static_cast<std::size_t>(old)] < 0;
        if (forceDropped[f])
            dropLine("The force", old);
        data.forces[f].node = index[static_cast<std::size_t>(old)];
    }
    eraseMarked(data.forces, forceDropped);
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
