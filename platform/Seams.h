#pragma once
// Everything the windows and the online components need from the outside
// world, handed over as one object at construction.

#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Network.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace quillon {

struct Seams {
    Messages& messages;
    FileDialogs& fileDialogs;
    Shell& shell;
    Clock& clock;
    Network& network;
    Paths& paths;
    // Answers the settings store's classes-root question; empty: ask the desktop.
    SettingsStore::ClassesRootProbe classesRoot = {};
    // Told when the settings file was found damaged and moved aside, so that
    // the program can say so; empty: only the store's Problems() know.
    SettingsStore::ProblemHandler onSettingsProblem = {};

    // A fresh store over paths.SettingsFile(), for one open-use-close round.
    SettingsStore Settings() const
    {
        return SettingsStore(paths.SettingsFile(), onSettingsProblem, classesRoot);
    }
};

}  // namespace quillon
