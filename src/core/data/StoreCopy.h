#pragma once

namespace korvan {

class Store;

struct StoreCopyCounts {
    int projects = 0;
    int rows = 0;
};

// Copies everything of one store into another (projects, catalogues, typical graphs, hints,
// report settings and the tables beside them), in one transaction on the target. A target
// that holds anything besides the delivered contents it was made with is refused unless
// merging: then catalogues, typical graphs, hints and report settings are merged by name and
// projects appended. Rows get the target's keys; every link follows them.
StoreCopyCounts copyStore(Store &from, Store &to, bool merge);

} // namespace korvan
