#pragma once
// Fetching the two news pages into the shared news folder and turning them
// into the news window's link list.

#include <QString>
#include <QStringList>

class QWidget;

namespace quillon {

struct Seams;

// The shared folder "Path" + "/news/" (created one level deep when missing).
QString NewsFolder(const Seams& seams);

// Downloads the press-release listing to folder + "rawnews.dat" and the home
// page to folder + "rawsl.dat", the second whatever became of the first. True
// only when both arrived. Shows the hourglass meanwhile and never a message.
bool DownloadPages(Seams& seams, const QString& folder, QWidget* parent = nullptr);

// Reads both pages from folder and fills links (entry 0 the spotlight, then
// up to nine headlines). Raises OnlineError when a page cannot be read.
void BuildLinkList(const QString& folder, QStringList& links, const QString& server);

}  // namespace quillon
