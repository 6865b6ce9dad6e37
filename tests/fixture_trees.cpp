#include "fixture_trees.h"

#include <gtest/gtest.h>
#include <windows.h>

std::string FixtureTree(const std::string &relative)
{
    char unixPath[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("RETEMPO_FIXTURES", unixPath, sizeof unixPath)) {
        ADD_FAILURE() << "RETEMPO_FIXTURES is not set: run this test through ctest, which makes "
                         "the trees with tests/fixtures/make_trees.sh first";
        return std::string();
    }
    // Z: is the whole Unix file system in every Wine prefix.
    std::string path = std::string("Z:") + unixPath + "/" + relative;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}
