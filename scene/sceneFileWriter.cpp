// Scene file writer, text and binary.
#include "scene/sceneFileWriter.h"

#include "core/textUtil.h"
#include "scene/cGeometryNode.h"

#include <cstring>

namespace qvr {

namespace {

class cSceneWriter {
public:
    cSceneWriter(std::ostream& out, bool binary) : mOut(out), mBinary(binary), mPrecision(out) {}

    void count(const char* label, size_t value)
    {
        if (mBinary) {
            number(static_cast<int32_t>(value));
        } else {
            mOut << label << ":" << value << "\n";
        }
    }

    void word(const std::string& text)
    {
        if (mBinary) {
            mOut.write(text.c_str(), static_cast<std::streamsize>(text.size() + 1));
        } else {
            mOut << text << "\n";
        }
    }

    template <typename T>
    void number(T value)
    {
        static_assert(sizeof(T) == 4, "binary scene values are 32 bits wide");
        char bytes[4];
        std::memcpy(bytes, &value, 4);
        mOut.write(bytes, 4);
    }

    void node(const cSpatialNode& node, int32_t parentId)
    {
        const cVec3f position = node.getPosition();
        const cQuaternion& r = node.peekRotation();
        if (mBinary) {
            word(node.getName());
            for (int32_t v : {node.getId(), parentId}) {
                number(v);
            }
            for (float v : {position.x, position.y, position.z, r.x, r.y, r.z, r.w, node.scale.x,
                            node.scale.y, node.scale.z}) {
                number(v);
            }
            return;
        }
        mOut << "name:" << node.getName() << "\n"
             << "id:" << node.getId() << "\n"
             << "parent id:" << parentId << "\n"
             << "transform\n{\nlocal\n"
             << "position:" << position << "\n"
             << "rotation:" << r.x << " " << r.y << " " << r.z << " " << r.w << "\n"
             << "scale:" << node.scale << "\n"
             << "}\nend transform\nend node\n";
    }

    void mesh(const cGeometryNode& mesh)
    {
        const cVec3Array& positions = mesh.getPositions();
        count("vertices", positions.size());
        for (const cVec3f& p : positions) {
            vec(&p.x, 3);
        }
        const auto& vec2s = mesh.getVec2Attributes();
        const auto& vec3s = mesh.getVec3Attributes();
        count("attributes", vec2s.size() + vec3s.size());
        for (const auto& [name, values] : vec2s) {
            attribute(name, 2);
            for (const auto& v : values) {
                vec(v.data(), 2);
            }
        }
        for (const auto& [name, values] : vec3s) {
            attribute(name, 3);
            for (const cVec3f& v : values) {
                vec(&v.x, 3);
            }
        }
        count("triangles", mesh.getTriangles().size());
        for (const cTriangle& t : mesh.getTriangles()) {
            if (mBinary) {
                for (uint32_t i : t) {
                    number(i);
                }
            } else {
                mOut << t[0] << " " << t[1] << " " << t[2] << "\n";
            }
        }
    }

    void endNode()
    {
        if (!mBinary) {
            mOut << "\n";
        }
    }

private:
    void vec(const float* v, int n)
    {
        for (int i = 0; i < n; ++i) {
            if (mBinary) {
                number(v[i]);
            } else {
                mOut << (i ? " " : "") << v[i];
            }
        }
        if (!mBinary) {
            mOut << "\n";
        }
    }

    void attribute(const std::string& name, int32_t kind)
    {
        if (mBinary) {
            word(name);
            number(kind);
        } else {
            mOut << "name:" << name << "\n" << "kind:" << kind << "\n";
        }
    }

    std::ostream& mOut;
    bool mBinary;
    cFloatPrecision mPrecision;
};

} // namespace

bool writeScene(std::ostream& out, const cSpatialNode& top, bool binary)
{
    std::vector<const cSpatialNode*> nodes;
    visitPreOrder(const_cast<cSpatialNode*>(&top), [&](cSpatialNode* node) {
        if (node != &top) {
            nodes.push_back(node);
        }
        return true;
    });
    cSceneWriter writer(out, binary);
    if (binary) {
        writer.number(int32_t{1});
    } else {
        out << "QVS version:1\n";
    }
    writer.count("groups", 1);
    writer.count("nodes", nodes.size());
    for (const cSpatialNode* node : nodes) {
        const auto* mesh = dynamic_cast<const cGeometryNode*>(node);
        writer.word(mesh ? "mesh" : "spatial");
        writer.node(*node, node->getParent() == &top ? -1 : node->getParent()->getId());
        if (mesh) {
            writer.mesh(*mesh);
        }
        writer.endNode();
    }
    return out.good();
}

} // namespace qvr
