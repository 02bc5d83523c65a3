// A hand for tests of the installed program: a Qt plugin that the program
// loads when QT_QPA_GENERIC_PLUGINS names it, which then works the program's
// real windows with real mouse and key events, as a person would.
//
// QUILLON_PROBE_STEPS lists what to do, steps separated by ";":
//   click:NAME        click the visible, enabled widget NAME
//   key:NAME:KEYS     type KEYS (e.g. "Ctrl+U") into the visible widget NAME
//   type:KEYS         type KEYS where the keyboard is: into the focus widget of
//                     the active window, once a window is active (as a
//                     person types without clicking first)
//   print-pdf:PATH    in the print preview, print; in the print dialog,
//                     print to the PDF file PATH
//   close:NAME        close the visible window NAME
//   wait:NAME         wait until the widget NAME is visible and enabled
//   boxes:N           wait until N message boxes have come (and been answered)
//   shot:NAME:PATH    save a picture of the visible widget NAME to PATH
//   rest:GRID:ROW:COL the pointer rests on that cell of the grid GRID, so
//                     its tool tip comes up ("shot:qtooltip_label:PATH")
//   menu:MENU         open the menu whose object name is MENU (a picture of
//                     an open menu is "shot:MENU:PATH")
// NAME is a window's object name, or WINDOW/CHILD for a widget in it.
// Each step waits until it can be done. Every message box that shows is
// written to the log and answered with its escape button (No, Cancel) when
// it has one, else with OK; with QUILLON_PROBE_BOXES=stop the program is
// ended at once instead (exit status 3), as a run that expects no box would
// otherwise wait for a step that cannot come. QUILLON_PROBE_BOX_PICTURES
// names a folder for a picture of each box (box-1.png, ...). QUILLON_PROBE_LOG names the log
// file; each line is "box: TEXT" (line breaks as "\n"), "step: STEP" when a
// step is done, or "done" after the last.

#include <cstdlib>
#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QGenericPlugin>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class Hand : public QObject {
public:
    Hand() : steps_(qEnvironmentVariable("QUILLON_PROBE_STEPS").split(QLatin1Char(';'), Qt::SkipEmptyParts))
    {
        log_.setFileName(qEnvironmentVariable("QUILLON_PROBE_LOG"));
        connect(&timer_, &QTimer::timeout, this, &Hand::Look);
        timer_.start(50);
    }

private:
    void Write(const QString& line)
    {
        if (!log_.isOpen() && !log_.open(QIODevice::Append | QIODevice::Text)) return;
        QString text = line;
        text.replace(QLatin1Char('\r'), QLatin1String("\\n")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
        log_.write(text.toUtf8() + '\n');
        log_.flush();
    }

    static QMenu* FindMenu(const QString& name)
    {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* menu = qobject_cast<QMenu*>(top); menu != nullptr && menu->objectName() == name) return menu;
            if (auto* menu = top->findChild<QMenu*>(name)) return menu;
        }
        return nullptr;
    }

    // A person cannot reach a window that a modal one above it blocks.
    static bool Blocked(const QWidget* widget)
    {
        const QWidget* modal = QApplication::activeModalWidget();
        return modal != nullptr && !modal->isAncestorOf(widget) && modal != widget->window();
    }

    // "WINDOW" or "WINDOW/CHILD", by object names.
    static QWidget* Visible(const QString& path)
    {
        const QString window = path.section(QLatin1Char('/'), 0, 0);
        const QString child = path.section(QLatin1Char('/'), 1);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top->objectName() != window) continue;
            if (child.isEmpty()) return top;
            for (QWidget* found : top->findChildren<QWidget*>(child))
                if (found->isVisible()) return found;
        }
        return nullptr;
    }

    template <typename T>
    static T* VisibleTop()
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<T*>(top); found != nullptr && found->isVisible()) return found;
        return nullptr;
    }

    using Action = std::function<void()>;

    // A message box: write it down and answer it.
    Action AnswerBox()
    {
        auto* box = VisibleTop<QMessageBox>();
        if (box == nullptr) return {};
        if (box != lastBox_) {
            ++boxesSeen_;
            Write(QStringLiteral("box: ") + box->text());
            const QString pictures = qEnvironmentVariable("QUILLON_PROBE_BOX_PICTURES");
            if (!pictures.isEmpty())
                box->grab().save(pictures + QStringLiteral("/box-%1.png").arg(++boxCount_));
        }
        lastBox_ = box;
        if (qEnvironmentVariable("QUILLON_PROBE_BOXES") == QStringLiteral("stop")) {
            log_.close();
            std::_Exit(3);
        }
        QAbstractButton* answer = box->escapeButton();
        if (answer == nullptr) answer = box->button(QMessageBox::Ok);
        if (answer == nullptr && !box->buttons().isEmpty()) answer = box->buttons().front();
        return [answer = QPointer<QAbstractButton>(answer)] {
            if (answer) QTest::mouseClick(answer, Qt::LeftButton);
        };
    }

    // In the preview, the toolbar's print command; in the print dialog, the
    // PDF printer, the file name and OK. Done when OK is clicked.
    Action PrintPdf(const QString& path, bool& done)
    {
        done = false;
        if (auto* dialog = VisibleTop<QPrintDialog>()) {
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (fileName == nullptr || buttons == nullptr) return {};
            if (!fileName->isEnabled()) {
                if (printers != nullptr) printers->setCurrentIndex(printers->count() - 1);
                return {};
            }
            done = true;
            fileName->setText(path);
            return [ok = QPointer<QAbstractButton>(buttons->button(QDialogButtonBox::Ok))] {
                if (ok) QTest::mouseClick(ok, Qt::LeftButton);
            };
        }
        auto* preview = VisibleTop<QPrintPreviewDialog>();
        if (preview == nullptr || preview == printedPreview_) return {};
        // The toolbar may have folded the button into its overflow menu: use
        // the action the button stands for.
        for (QAction* action : preview->findChildren<QAction*>()) {
            if (action->text() == QStringLiteral("Print") && action->isEnabled()) {
                printedPreview_ = preview;
                return [action = QPointer<QAction>(action)] {
                    if (action) action->trigger();
                };
            }
        }
        return {};
    }

    // The next step, when it can be done now.
    Action Step(const QString& step, bool& done)
    {
        done = false;
        const QString kind = step.section(QLatin1Char(':'), 0, 0);
        if (kind == QStringLiteral("print-pdf")) return PrintPdf(step.section(QLatin1Char(':'), 1), done);
        if (kind == QStringLiteral("menu")) {
            QPointer<QMenu> menu = FindMenu(step.section(QLatin1Char(':'), 1));
            if (menu.isNull()) return {};
            done = true;
            return [menu] { if (menu) menu->popup(QPoint(40, 40)); };
        }
        if (kind == QStringLiteral("boxes")) {
            done = boxesSeen_ >= step.section(QLatin1Char(':'), 1).toInt();
            return done ? Action([] {}) : Action();
        }
        if (kind == QStringLiteral("type")) {
            // A window just closed may still be named active for a moment.
            QPointer<QWidget> active = QApplication::activeWindow();
            if (active.isNull() || !active->isVisible()) return {};
            QPointer<QWidget> target = active->focusWidget() != nullptr ? active->focusWidget() : active.data();
            done = true;
            const QKeyCombination keys = QKeySequence(step.section(QLatin1Char(':'), 1))[0];
            Write(QStringLiteral("typed into: ") + active->objectName());
            return [target, keys] { if (target) QTest::keyClick(target, keys.key(), keys.keyboardModifiers()); };
        }
        QPointer<QWidget> widget = Visible(step.section(QLatin1Char(':'), 1, 1));
        if (widget.isNull() || !widget->isEnabled() || Blocked(widget)) return {};
        done = true;
        if (kind == QStringLiteral("click")) return [widget] { if (widget) QTest::mouseClick(widget, Qt::LeftButton); };
        if (kind == QStringLiteral("close")) return [widget] { if (widget) widget->close(); };
        if (kind == QStringLiteral("wait")) return [] {};
        if (kind == QStringLiteral("shot")) {
            const QString path = step.section(QLatin1Char(':'), 2);
            return [widget, path] { if (widget) widget->grab().save(path); };
        }
        if (kind == QStringLiteral("rest")) {
            // The pointer rests on a cell of a grid: its tool tip comes up.
            QPointer<QAbstractItemView> grid = qobject_cast<QAbstractItemView*>(widget.data());
            const int row = step.section(QLatin1Char(':'), 2, 2).toInt();
            const int column = step.section(QLatin1Char(':'), 3, 3).toInt();
            return [grid, row, column] {
                if (grid == nullptr || grid->model() == nullptr) return;
                const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
                QHelpEvent rest(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
                QApplication::sendEvent(grid->viewport(), &rest);
            };
        }
        if (kind == QStringLiteral("key")) {
            const QKeyCombination keys = QKeySequence(step.section(QLatin1Char(':'), 2))[0];
            return [widget, keys] { if (widget) QTest::keyClick(widget, keys.key(), keys.keyboardModifiers()); };
        }
        Write(QStringLiteral("unknown step: ") + step);
        return [] {};
    }

    // Decides here and acts from the event loop: an action may open a modal
    // window, and the timer that calls this does not fire again while its
    // own call is still running.
    void Look()
    {
        Action action = AnswerBox();
        if (!action && next_ < steps_.size()) {
            bool done = false;
            const QString step = steps_.at(next_);
            action = Step(step, done);
            if (done) {
                ++next_;
                Write(QStringLiteral("step: ") + step);
                if (next_ == steps_.size()) Write(QStringLiteral("done"));
            }
        }
        if (action) QTimer::singleShot(0, this, action);
    }

    QStringList steps_;
    qsizetype next_ = 0;
    QPointer<QMessageBox> lastBox_;
    int boxCount_ = 0;
    int boxesSeen_ = 0;
    QPointer<QPrintPreviewDialog> printedPreview_;
    QFile log_;
    QTimer timer_;
};

}  // namespace

class ProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")

public:
    QObject* create(const QString&, const QString&) override { return new Hand; }
};

#include "Probe.moc"
