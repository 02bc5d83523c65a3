#include "online/NewsPages.h"

#include <QUrl>

#include "online/Downloads.h"
#include "online/NewsParsers.h"
#include "online/OnlineCommon.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

const QString kListingFile = QStringLiteral("rawnews.dat");
const QString kHomeFile = QStringLiteral("rawsl.dat");

}  // namespace

QString NewsFolder(const Seams& seams)
{
    return SharedFolder(seams, QStringLiteral("news"));
}

bool DownloadPages(Seams& seams, const QString& folder, QWidget* parent)
{
    const WaitCursor hourglass;
    const QString server = MakerWebServer(seams);
    const QString label = QStringLiteral("Downloading the latest news...");
    const bool listing =
        DownloadWithIndicator(seams, parent, QUrl(server + QStringLiteral("/whatsnew/pressreleases/default.asp")),
                              folder + kListingFile, label)
            .ok;
    const bool home = DownloadWithIndicator(seams, parent, QUrl(server + QStringLiteral("/home/default.asp")),
                                            folder + kHomeFile, label)
                          .ok;
    return listing && home;
}

void BuildLinkList(const QString& folder, QStringList& links, const QString& server)
{
    const QStringList listingLines = ReadTextLinesOrRaise(folder + kListingFile);
    const QStringList homeLines = ReadTextLinesOrRaise(folder + kHomeFile);
    links = BuildLinks(listingLines, homeLines, server);
}

}  // namespace quillon
