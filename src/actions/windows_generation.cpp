#include "actions/windows_generation.h"

namespace mv {

int ClassifyWindowsVersion(const VersionInfo& v) {
    if (v.platformId == 1 && v.major == 4) return v.minor < 90 ? 1 : 2;
    if (v.platformId == 2) {
        if (v.major == 5) return v.minor == 0 ? 3 : 4;
        if (v.major == 6) {
            switch (v.minor) {
                case 0: return 5;
                case 1: return 6;
                case 2: return 7;
                default: return 0;
            }
        }
    }
    return 0;
}

}  // namespace mv
