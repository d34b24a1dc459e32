#pragma once

#include "sources/line_table.h"

namespace scenario::tool {

// The commented pair `scenario new` writes, the same whatever the names: a
// small route and a train on it, every kind of record explained by the
// comment lines before it. The source format handbook shows these two files
// as its complete example.
LineTable starter_line_table();
LineTable starter_train_table();

}  // namespace scenario::tool
