// The end-to-end tests' entry point. The tests find the programs they start in the folder of
// this executable (bin/).
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
