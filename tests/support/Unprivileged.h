#pragma once
// Permission cases as a plain user meets them. Root reads and writes any file
// whatever its mode, so "permission denied" cannot be shown to a suite that
// runs as root (as CI does). A test that needs a plain user's view begins
// with the macro:
//
//     TEST_F(ExportFiles, AReadOnlyFolderIsNamed)
//     {
//         QUILLON_RUN_UNPRIVILEGED();
//         ... the body: chmod 000 now denies ...
//     }
//
// Run as root, the macro re-runs this one test (--gtest_filter) in a copy of
// the test executable as uid/gid 65534 (nobody/nogroup) with no supplementary
// groups, through `setpriv --reuid=65534 --regid=65534 --clear-groups` (or
// `runuser -u nobody --`), waits for it, passes its verdict on (pass, failure
// with its output, or skip with its reason) and returns. Run by anyone else
// it does nothing and the body runs in place.
//
// The child's TMPDIR, HOME and XDG_RUNTIME_DIR point into a fresh folder that
// uid 65534 owns, so QTemporaryDir, QDir::tempPath() and QStandardPaths' test
// mode all land where that user may write; it is removed afterwards. Fixture
// members (a QTemporaryDir, say) are made anew in the child, so a group of
// tests shares one fixture and each begins with the macro. Files the test
// reads from the build or source folders must be readable by others.
//
// Only when the system cannot switch users (no setpriv or runuser, no right to
// change ids, an executable that cannot be started from the temporary folder)
// is the test skipped, with the reason.

namespace quillon::test {

enum class RunPlace { Here, Elsewhere };

// Here: run the body now (the process is not root, or is the unprivileged
// child). Elsewhere: the verdict has been given; return from the test.
RunPlace RunUnprivileged();

// The uid the unprivileged child runs as.
inline constexpr int kUnprivilegedId = 65534;

}  // namespace quillon::test

#define QUILLON_RUN_UNPRIVILEGED()                                                             \
    do {                                                                                       \
        if (::quillon::test::RunUnprivileged() == ::quillon::test::RunPlace::Elsewhere) return; \
    } while (false)
