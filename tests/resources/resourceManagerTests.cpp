// Resource list reading and indexed access.
#include "resources/cResourceManger.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using qvr::cResourceManger;
using qvr::test::cScratchDir;
using qvr::test::readFile;
using qvr::test::writeFile;

namespace {

class ResourceList : public ::testing::Test {
protected:
    // Loads text as a list file into mList.
    void load(const std::string& text)
    {
        const std::string path = mDir.file("resources.dat");
        writeFile(path, text);
        mList.loadResourceList(path);
    }

    // The entry at index, without marking it used.
    const qvr::cResourceEntry& entry(int32_t index) const
    {
        const qvr::cResourceEntry* e = mList.peek(index);
        EXPECT_NE(e, nullptr) << "no entry " << index;
        return e ? *e : mMissing;
    }

    qvr::cResourceEntry mMissing;

    cScratchDir mDir;
    cResourceManger mList;
};

const char* const kSampleList =
    "VERSION1\n"
    "TEXTURE Assets/Tex/a.png\n"
    "MESH Assets\\Obj\\b.QVS\n"
    "\n"
    "texture Assets/skipped.png\n"
    "SOUND tideglass.mp3 trailing words are ignored\n"
    "FONT Assets/unknown.ttf\n"
    "   \t \n"
    "  TRACK\tAssets/Data/track.txt  \n"
    "MATERIAL Assets/Mat/city.mat\n"
    "MESH\n"
    "\n"
    "TEXTURE last/without/line/end.png";

} // namespace

TEST_F(ResourceList, ReadsEntriesInFileOrderWithKindsAndFileNames)
{
    load(kSampleList);
    ASSERT_EQ(mList.count(), 7);
    const struct {
        int32_t kind;
        const char* path;
        const char* fileName;
    } expected[] = {
        {qvr::kResourceTexture, "Assets/Tex/a.png", "a.png"},
        {qvr::kResourceMesh, "Assets\\Obj\\b.QVS", "b.QVS"},
        {qvr::kResourceSound, "tideglass.mp3", "tideglass.mp3"},
        {qvr::kResourceTrack, "Assets/Data/track.txt", "track.txt"},
        {qvr::kResourceMaterial, "Assets/Mat/city.mat", "city.mat"},
        {qvr::kResourceMesh, "MESH", "MESH"},
        {qvr::kResourceTexture, "last/without/line/end.png", "end.png"},
    };
    for (int32_t i = 0; i < mList.count(); ++i) {
        const qvr::cResourceEntry& e = entry(i);
        EXPECT_EQ(e.kind, expected[i].kind) << "entry " << i;
        EXPECT_EQ(e.path, expected[i].path) << "entry " << i;
        EXPECT_EQ(e.fileName, expected[i].fileName) << "entry " << i;
        EXPECT_EQ(e.used, 0) << "entry " << i;
        EXPECT_EQ(e.reserved, 0);
        EXPECT_TRUE(e.label.empty());
    }
}

TEST_F(ResourceList, CrlfLineEndsReadLikeLf)
{
    std::string crlf;
    for (const char* c = kSampleList; *c; ++c) {
        if (*c == '\n') {
            crlf += '\r';
        }
        crlf += *c;
    }
    load(kSampleList);
    const cResourceManger lf = mList;
    load(crlf);
    ASSERT_EQ(mList.count(), lf.count());
    for (int32_t i = 0; i < mList.count(); ++i) {
        EXPECT_EQ(entry(i).path, lf.peek(i)->path);
        EXPECT_EQ(entry(i).kind, lf.peek(i)->kind);
        EXPECT_EQ(entry(i).fileName, lf.peek(i)->fileName);
    }
}

TEST_F(ResourceList, AnythingButAnExactVersionLineGivesAnEmptyList)
{
    for (const char* text : {"version1\nTEXTURE a.png\n", "VERSION1 \nTEXTURE a.png\n",
                             " VERSION1\nTEXTURE a.png\n", "VERSION2\nTEXTURE a.png\n",
                             "TEXTURE a.png\n", ""}) {
        load("VERSION1\nTEXTURE before.png\n");
        ASSERT_EQ(mList.count(), 1);
        load(text);
        EXPECT_EQ(mList.count(), 0) << "list: " << text;
    }
    load("VERSION1\nTEXTURE before.png\n");
    mList.loadResourceList(mDir.file("missing.dat"));
    EXPECT_EQ(mList.count(), 0);
}

TEST_F(ResourceList, AddResourceDerivesTheFileName)
{
    mList.addResource("plain.png", qvr::kResourceTexture);
    mList.addResource("a/b\\c.QVS", qvr::kResourceMesh);
    mList.addResource("a\\b/c.mat", qvr::kResourceMaterial);
    mList.addResource("dir/", qvr::kResourceMaterial);
    EXPECT_EQ(entry(0).fileName, "plain.png");
    EXPECT_EQ(entry(1).fileName, "c.QVS");
    EXPECT_EQ(entry(2).fileName, "c.mat");
    EXPECT_EQ(entry(3).fileName, "");
}

TEST_F(ResourceList, IndexingMarksTheEntryUsed)
{
    load("VERSION1\nTEXTURE a.png\nMESH b.QVS\n");
    EXPECT_EQ(entry(1).used, 0);
    EXPECT_EQ(mList[1].path, "b.QVS");
    EXPECT_EQ(entry(1).used, 1);
    EXPECT_EQ(entry(0).used, 0);
    EXPECT_EQ(mList.peek(2), nullptr);
    EXPECT_EQ(mList.peek(-1), nullptr);
}

TEST_F(ResourceList, IndexOutOfBoundsIsFatal)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    cScratchDir runDir(true);
    load("VERSION1\nTEXTURE a.png\nMESH b.QVS\n");
    const char* message = "Crash in: cResourceManger operator\\[\\] : index out of bounds!";
    EXPECT_EXIT((void)mList[2], ::testing::ExitedWithCode(EXIT_FAILURE), message);
    EXPECT_EQ(readFile("CrashLog.txt"),
              "Crash: Crash in: cResourceManger operator[] : index out of bounds!");
    EXPECT_EXIT((void)mList[-1], ::testing::ExitedWithCode(EXIT_FAILURE), message);
    cResourceManger empty;
    EXPECT_EXIT((void)empty[0], ::testing::ExitedWithCode(EXIT_FAILURE), message);
}

TEST(ResourceManager, IsOneProcessWideInstance)
{
    qvr::cResourceManger& a = qvr::getResourceManager();
    const int32_t before = a.count();
    a.addResource("x.png", qvr::kResourceTexture);
    EXPECT_EQ(&a, &qvr::getResourceManager());
    EXPECT_EQ(qvr::getResourceManager().count(), before + 1);
}
