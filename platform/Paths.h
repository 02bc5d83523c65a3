#pragma once
// Where the program lives and where its settings store is kept.

#include <QString>

namespace quillon {

class Paths {
public:
    virtual ~Paths() = default;
    // The folder of the program's executable, without a trailing separator;
    // the catalogue, the exchange rates and the qlx/html/xls folders live there.
    virtual QString ProgramFolder() const = 0;
    // The settings store's file.
    virtual QString SettingsFile() const = 0;
};

}  // namespace quillon
