#include "ui/DataPreload.h"

#include <mutex>

#include <QFile>

#include "platform/Seams.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsTree.h"
#include "platform/TextFile.h"

namespace quillon {
namespace {

std::mutex pendingMutex;
std::unique_ptr<TDataPreload> pending;

// The data folder as the store would give it, read from the file alone;
// nothing when the file, the key or a text value is not plainly there.
std::optional<QString> DataFolderOf(const QString& settingsFile)
{
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QString error;
    const std::optional<settings::Key> root = settings::FromJson(file.readAll(), &error);
    if (!root) return std::nullopt;
    const settings::Key* key = settings::FindPath(*root, settings::SplitPath(QString::fromLatin1(kCommonFilesKey)));
    if (key == nullptr) return std::nullopt;
    const settings::Value* value = key->FindValue(QString::fromLatin1(kDataFolderValue));
    if (value == nullptr || value->type != settings::Value::Type::Text) return std::nullopt;
    return value->text;
}

bool Same(const DataSetPaths& a, const DataSetPaths& b)
{
    return a.Catalogue == b.Catalogue && a.PriceList == b.PriceList && a.Rates == b.Rates;
}

}  // namespace

TDataPreload::TDataPreload(DataSetPaths paths) : paths_(std::move(paths))
{
    thread_ = std::thread([this] {
        try {
            load_ = LoadDataSet(paths_, data_);
        } catch (...) {
            error_ = std::current_exception();
        }
    });
}

TDataPreload::~TDataPreload()
{
    if (thread_.joinable()) thread_.join();
}

void TDataPreload::Start(const Seams& seams)
{
    const std::optional<QString> folder = DataFolderOf(seams.paths.SettingsFile());
    if (!folder) return;
    DataSetPaths paths = DataSetPathsIn(FilePathForEngine(seams.paths.ProgramFolder()), FilePathForEngine(*folder));
    auto preload = std::unique_ptr<TDataPreload>(new TDataPreload(std::move(paths)));
    const std::lock_guard<std::mutex> lock(pendingMutex);
    pending = std::move(preload);
}

std::optional<DataSetLoad> TDataPreload::TakeFor(const DataSetPaths& paths, DataSet& data)
{
    std::unique_ptr<TDataPreload> preload;
    {
        const std::lock_guard<std::mutex> lock(pendingMutex);
        preload = std::move(pending);
    }
    if (!preload || !Same(preload->paths_, paths)) return std::nullopt;
    preload->thread_.join();
    data = std::move(preload->data_);
    if (preload->error_) std::rethrow_exception(preload->error_);
    return std::move(preload->load_);
}

}  // namespace quillon
