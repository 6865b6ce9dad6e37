#pragma once
// Trees made from the Unix side by tests/fixtures/make_trees.sh before the
// test programs that use them run (ctest fixture "trees"): symbolic links,
// which Wine cannot make, and items the tests' user may not read.
#include <string>

// The Windows path of relative inside those trees; the test fails (and the
// path is empty) when the trees were not made.
std::string FixtureTree(const std::string &relative);
