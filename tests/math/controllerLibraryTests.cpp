// The controller list file and the process-wide library.
#include "math/cControllerLibrary.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include <unistd.h>

using qvr::cControllerLibrary;
using qvr::test::cScratchDir;
using qvr::test::readFile;
using qvr::test::sourcePath;
using qvr::test::writeFile;

namespace {

class ControllerList : public ::testing::Test {
protected:
    bool load(const std::string& text)
    {
        writeFile(mDir.file("cont.txt"), text);
        return mLibrary.loadControllerList(mDir.file("cont.txt"), false);
    }

    cScratchDir mDir;
    cControllerLibrary mLibrary;
};

std::string withCrlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

} // namespace

TEST_F(ControllerList, ReadsEveryControllerOfTheSample)
{
    const std::string sample = readFile(sourcePath("math/data/cont.txt"));
    ASSERT_FALSE(sample.empty());
    for (const std::string& text : {sample, withCrlf(sample)}) {
        EXPECT_TRUE(load(text));
        ASSERT_EQ(mLibrary.count(), 3);
        const auto& list = mLibrary.getControllers();
        EXPECT_EQ(list[0]->getType(), qvr::kControllerLinear);
        EXPECT_EQ(list[0]->getKeyCount(), 2);
        EXPECT_FLOAT_EQ(list[0]->evaluate(0.5f).z, 15);
        EXPECT_EQ(list[1]->getType(), qvr::kControllerTcb);
        EXPECT_EQ(list[1]->getDimension(), 2);
        ASSERT_EQ(list[1]->getKeyCount(), 3);
        EXPECT_FLOAT_EQ(list[1]->getKey(1)->tension, 0.25f);
        EXPECT_FLOAT_EQ(list[1]->getKey(1)->bias, -0.5f);
        EXPECT_FLOAT_EQ(list[1]->getKey(1)->continuity, 0.75f);
        EXPECT_EQ(list[2]->getDimension(), 1);
        EXPECT_EQ(list[2]->getKeyCount(), 0);
    }
}

TEST_F(ControllerList, ControllersWithoutBlankLinesBetweenThemReadTheSame)
{
    EXPECT_TRUE(load("a:0\nb:2\n1\ndo work on:3\nnumber of keys:1\nkey 0:1 2 3 0 0 0 0\n"
                     "0\ndo work on:1\nnumber of keys:1\nkey 0:4 5 6 0\n"));
    ASSERT_EQ(mLibrary.count(), 2);
    EXPECT_EQ(mLibrary.getControllers()[1]->getKey(0)->value.x, 4);
}

TEST_F(ControllerList, UnknownTypeStopsReadingAndKeepsWhatCameBefore)
{
    EXPECT_FALSE(load("a:0\nb:3\n0\ndo work on:3\nnumber of keys:1\nkey 0:1 2 3 0\n\n"
                      "7\ndo work on:3\nnumber of keys:1\nkey 0:1 2 3 0\n\n"
                      "0\ndo work on:3\nnumber of keys:0\n\n"));
    ASSERT_EQ(mLibrary.count(), 1);
    EXPECT_EQ(mLibrary.getControllers()[0]->getKeyCount(), 1);
}

TEST_F(ControllerList, FormatMissingFileAndBinary)
{
    load("a:0\nb:1\n0\ndo work on:3\nnumber of keys:0\n\n");
    ASSERT_EQ(mLibrary.count(), 1);
    EXPECT_FALSE(mLibrary.loadControllerList(mDir.file("missing.txt"), false));
    EXPECT_EQ(mLibrary.count(), 1);
    EXPECT_TRUE(mLibrary.loadControllerList(mDir.file("missing.txt"), true));
    EXPECT_EQ(mLibrary.count(), 1);

    load("a:1\nb:1\n0\ndo work on:3\nnumber of keys:0\n\n");
    EXPECT_EQ(mLibrary.count(), 0);

    EXPECT_FALSE(load("a:0\nb:2000000000\n0\ndo work on:3\nnumber of keys:0\n\n"));
    EXPECT_EQ(mLibrary.count(), 1);
    load("a:0\nb:-4\n0\ndo work on:3\nnumber of keys:0\n\n");
    EXPECT_EQ(mLibrary.count(), 0);

    EXPECT_EQ(mLibrary.addController(2), nullptr);
    EXPECT_EQ(mLibrary.count(), 0);
    EXPECT_NE(mLibrary.addController(1), nullptr);
    EXPECT_EQ(mLibrary.count(), 1);
}

TEST_F(ControllerList, EveryCutOfTheSampleKeepsWhatWasReadBeforeIt)
{
    const std::string sample = readFile(sourcePath("math/data/cont.txt"));
    load(sample);
    std::vector<std::unique_ptr<qvr::cBaseController>> full;
    for (const qvr::cBaseController* c : mLibrary.getControllers()) {
        full.push_back(c->clone());
    }

    std::vector<size_t> cuts;
    for (size_t i = 0; i < sample.size(); ++i) {
        if (sample[i] == '\n') {
            cuts.push_back(i + 1);
        }
    }
    std::mt19937 random(20261209);
    for (int i = 0; i < 200; ++i) {
        cuts.push_back(random() % sample.size());
    }
    for (size_t cut : cuts) {
        SCOPED_TRACE(cut);
        load(sample.substr(0, cut));
        ASSERT_LE(mLibrary.count(), 3);
        for (int32_t i = 0; i < mLibrary.count(); ++i) {
            const qvr::cBaseController* c = mLibrary.getControllers()[i];
            EXPECT_EQ(c->getType(), full[i]->getType());
            EXPECT_LE(c->getKeyCount(), full[i]->getKeyCount());
            // Every key but the last one read is complete (the cut may shorten its last number).
            for (int32_t k = 0; k + 1 < c->getKeyCount(); ++k) {
                const qvr::cControllerKey& got = *c->getKey(k);
                const qvr::cControllerKey& want = *full[i]->getKey(k);
                EXPECT_EQ(got.time, want.time);
                EXPECT_EQ(got.value.x, want.value.x);
                EXPECT_EQ(got.value.z, want.value.z);
                EXPECT_EQ(got.continuity, want.continuity);
            }
        }
    }
}

TEST(ControllerLibrary, IsFilledFromTheWorkingDirectoryOnFirstUse)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: the library is not made yet
    const std::string list = readFile(sourcePath("math/data/cont.txt"));
    EXPECT_EXIT(
        {
            cScratchDir dir(true);
            writeFile("Assets/Data/cont.txt", list);
            const int32_t count = qvr::getControllerLibrary().count();
            std::_Exit(&qvr::getControllerLibrary() == &qvr::getControllerLibrary() ? count : 99);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST_F(ControllerList, AnnouncingMoreControllersThanItHoldsFailsAndKeepsThem)
{
    const std::string one = "0\ndo work on:1\nnumber of keys:1\nkey 0:1 0 0 0\n\n";
    for (const char* count : {"5", "2147483647"}) {
        EXPECT_FALSE(load(std::string("fileformat:0\nnumber of controllers:") + count + "\n" + one)) << count;
        ASSERT_EQ(mLibrary.count(), 1) << count;
        EXPECT_EQ(mLibrary.getControllers()[0]->evaluate(0.0f).x, 1.0f);
    }
    EXPECT_TRUE(load("fileformat:0\nnumber of controllers:1\n" + one));
}
