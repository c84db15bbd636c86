// Scene files (".QVS"): a version, then groups of node records (with meshes), each node attached
// below the node of its parent id.
#include "scene/cScenegraph.h"

#include "core/fatalError.h"
#include "core/textUtil.h"
#include "scene/sceneFileIo.h"

#include <cstdio>
#include <fstream>
#include <unordered_map>
#include <unordered_set>

namespace qvr {

namespace {

bool readCount(std::istream& in, bool binary, int32_t& count)
{
    count = 0;
    if (binary) {
        return readBinary(in, count);
    }
    readLabeled(in, count);
    return !in.fail();
}

bool readTypeWord(std::istream& in, bool binary, std::string& word)
{
    return binary ? readBinaryString(in, word) : readLine(in, word);
}

} // namespace

cSpatialNode* cScenegraph::loadScene(const std::string& path, bool binary, cSpatialNode* parent)
{
    std::ifstream in(path, binary ? std::ios::in | std::ios::binary : std::ios::in);
    if (!in) {
        reportFatalError("Could not find file:" + path);
    }
    return readScene(in, binary, path, parent);
}

cSpatialNode* cScenegraph::readScene(std::istream& in, bool binary, const std::string& path, cSpatialNode* parent)
{
    int32_t version = 0;
    if (!readCount(in, binary, version) || version != 1) {
        return nullptr;
    }
    if (!binary) {
        skipLineEnd(in);
    }
    cSpatialNode* top = readSceneNodes(in, binary, path);
    if (!top) {
        return nullptr;
    }
    fixParentIds(top);
    if (!(parent ? parent : mRoot.get())->addChild(top)) {
        delete top;
        return nullptr;
    }
    return top;
}

cSpatialNode* cScenegraph::readSceneNodes(std::istream& in, bool binary, const std::string& path)
{
    std::unique_ptr<cSpatialNode> top = std::make_unique<cSpatialNode>(this);
    top->getName() = path;
    top->getMaterial();

    // Parents by id: the first node read with an id. Ids read more than once are looked up in
    // the tree (first match in pre-order), as the loader always did.
    std::unordered_map<int32_t, cSpatialNode*> byId{{top->getId(), top.get()}};
    std::unordered_set<int32_t> repeated;
    std::string error;
    int32_t groups = 0;
    if (!readCount(in, binary, groups)) {
        error = "group count missing";
    }
    for (int32_t g = 0; g < groups && error.empty(); ++g) {
        int32_t nodes = 0;
        if (!readCount(in, binary, nodes)) {
            error = "node count of group " + std::to_string(g) + " missing";
            break;
        }
        if (!binary) {
            skipLineEnd(in);
        }
        for (int32_t n = 0; n < nodes && error.empty(); ++n) {
            std::string type;
            if (!readTypeWord(in, binary, type)) {
                error = "node " + std::to_string(n) + " of group " + std::to_string(g) + " missing";
                break;
            }
            std::unique_ptr<cSpatialNode> node;
            if (type == "mesh") {
                node = std::make_unique<cGeometryNode>(this);
            } else if (type == "spatial") {
                node = std::make_unique<cSpatialNode>(this);
            } else {
                error = "unknown node type \"" + type + "\"";
                break;
            }
            if (!node->serialize(in, binary, true, &error)) {
                failWith(&error, "node record could not be read");
                break;
            }
            if (!binary) {
                skipLineEnd(in);
            }
            const int32_t parentId = node->getParentId();
            const auto known = byId.find(parentId);
            cSpatialNode* parent = repeated.count(parentId) ? top->findById(parentId)
                                   : known != byId.end()   ? known->second
                                                           : nullptr;
            if (!parent) {
                error = "node \"" + node->getName() + "\" names parent id " +
                        std::to_string(node->getParentId()) + ", which no earlier node has";
                break;
            }
            if (!byId.emplace(node->getId(), node.get()).second) {
                repeated.insert(node->getId());
            }
            parent->addChild(node.release());
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "loadScene: %s: %s; nothing loaded\n", path.c_str(), error.c_str());
        return nullptr;
    }
    return top.release();
}

} // namespace qvr
