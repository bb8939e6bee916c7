/* Test program entry: makes sure the stand-in driver runs, then runs the
 * suites. */
#include "wltest.h"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    FrameDepthInit();
    if (SimEnsureStarted(NULL) != 0) {
        fprintf(stderr, "stand-in driver not available: %s\n", SimLastErrorText());
        return 2;
    }
    return RUN_ALL_TESTS();
}
