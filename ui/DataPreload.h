#pragma once
// The data set loaded on a thread of its own while the splash is up, so that
// the main window does not load it again afterwards.
//
// Only what the window would load itself is loaded ahead: the data folder is
// read from the settings file without the store (nothing is written, moved
// aside or reported: a damaged or unreadable file is the window's to meet),
// and the window takes the result only when its own reading of the folder
// gives the same files. Whatever the load met, a missing file, one that
// cannot be read, a bad catalogue row, comes to the window as its own load
// would have met it.

#include <exception>
#include <memory>
#include <optional>
#include <thread>

#include "engine/DataSet.h"

namespace quillon {

struct Seams;

class TDataPreload {
public:
    // Starts loading the data set the settings file names, and leaves it
    // for the next window to take. Does nothing when the file names no data
    // folder plainly.
    static void Start(const Seams& seams);

    // For the window's load: when a load of exactly these files was started,
    // waits for it, moves its data into `data` and gives its result (raising
    // what it raised). Nothing otherwise; a load of other files is dropped.
    static std::optional<DataSetLoad> TakeFor(const DataSetPaths& paths, DataSet& data);

    TDataPreload(const TDataPreload&) = delete;
    TDataPreload& operator=(const TDataPreload&) = delete;
    ~TDataPreload();

private:
    explicit TDataPreload(DataSetPaths paths);

    DataSetPaths paths_;
    DataSet data_;
    DataSetLoad load_;
    std::exception_ptr error_;
    std::thread thread_;
};

}  // namespace quillon
