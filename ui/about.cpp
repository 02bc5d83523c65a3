#include "ui/about.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QtMath>

#include "ui/Links.h"

namespace quillon {
namespace {

// The number of the maker's printed catalogue that the price list covers.
constexpr char kCatalogueNumber[] = "Q-26";

// Fixed places on the 290 x 376 client area, top to bottom.
constexpr QRect kLogoRect{82, 8, 126, 37};
constexpr QRect kNameRect{0, 50, 290, 30};
constexpr QRect kTermsRect{1, 84, 289, 257};
constexpr QRect kOkRect{107, 346, 76, 25};
// The hidden pictures sit in the middle of what is left when they show:
// the first above "&Ok", the second in the whole box.
constexpr QRect kFirstViewRect{60, 80, 169, 184};
constexpr QRect kSecondViewRect{44, 88, 201, 200};

// The smallest type the terms are set in when the widest line would not fit.
constexpr qreal kSmallestTermsPoints = 7.0;

QLabel* Picture(QWidget* parent, const char* name, const char* resource, const QRect& place)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(QLatin1String(name));
    picture->setPixmap(QPixmap(QLatin1String(resource)));
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(place);
    return picture;
}

bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

}  // namespace

QStringList TfrmAbout::TermsLines()
{
    return {
        QStringLiteral("Terms"),
        QString(),
        QStringLiteral("This Price List covers the Product Lines in Catalog ") + QLatin1String(kCatalogueNumber) +
            QStringLiteral(".  "),
        QStringLiteral("Prices and specifications are subject to change without "),
        QStringLiteral("notice.  Prices as listed are based on delivery FOB "),
        QStringLiteral("Origin for U.S. domestic orders and EXW, Tarvex "),
        QStringLiteral("Factory, for international orders.  Prices do not include "),
        QStringLiteral("export packing, insurance, taxes, tariffs, or duties.  "),
        QStringLiteral("Refundable deposits are charged for some skids and "),
        QStringLiteral("large size cable reels.  All orders are subject to a "),
        QStringLiteral("minimum charge of $50.00 net.  Contact you local "),
        QStringLiteral("Tarvex representative or Sales Office for specific "),
        QStringLiteral("quotations regarding price, delivery, payment, and "),
        QStringLiteral("other terms of sale.  "),
        QString(),
        QStringLiteral("All  orders are subject to acceptance by Tarvex "),
        QStringLiteral("and shall be governed by the Tarvex Terms and "),
        QStringLiteral("Conditions of Sale applicable to the Tarvex Location "),
        QStringLiteral("accepting the order."),
        QString(),
        QStringLiteral("Questions or comments?"),
        QStringLiteral("email ") + QLatin1String(kSupportEmail),
    };
}

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();
    CentreOnScreen();
}

void TfrmAbout::BuildControls()
{
    // The JPEG copy of the logo: the one picture the program reads through the JPEG decoder.
    Image1 = Picture(this, "Image1", ":/images/about.jpg", kLogoRect);

    QPalette blueText = palette();
    blueText.setColor(QPalette::WindowText, Qt::blue);
    blueText.setColor(QPalette::Text, Qt::blue);

    Label1 = new QLabel(QStringLiteral("Tarvex QUILLON (TM)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont nameFont = Label1->font();
    // A face with narrow bold capitals, so the name fits the box at 24 pixels.
    nameFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    nameFont.setPixelSize(24);
    nameFont.setBold(true);
    Label1->setFont(nameFont);
    Label1->setPalette(blueText);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(kNameRect);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoPalette = blueText;
    memoPalette.setColor(QPalette::Base, QApplication::palette("QMenu").color(QPalette::Window));
    Memo1->setPalette(memoPalette);
    Memo1->setGeometry(kTermsRect);
    Memo1->setPlainText(TermsLines().join(QLatin1Char('\n')));
    FitTermsFont();

    Button1 = new QPushButton(QStringLiteral("&Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kOkRect);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { FormClick(); });

    Image2 = Picture(this, "Image2", ":/images/surprise1.png", kFirstViewRect);
    Image2->hide();
    Image3 = Picture(this, "Image3", ":/images/surprise2.png", kSecondViewRect);
    Image3->hide();

    // A click on any of these closes the box; a click on the memo's scroll bar only scrolls.
    for (QWidget* part : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Label1), Memo1->viewport(),
                          static_cast<QWidget*>(Image2), static_cast<QWidget*>(Image3)})
        part->installEventFilter(this);

    Button1->setFocus();
}

// The widest line of the terms fits beside the scroll bar when the user's
// type allows it; smaller type first, and the memo wraps what still will not fit.
void TfrmAbout::FitTermsFont()
{
    const int room = kTermsRect.width() - Memo1->verticalScrollBar()->sizeHint().width() -
                     2 * qCeil(Memo1->document()->documentMargin()) - 4;
    QFont font = Memo1->font();
    const QStringList lines = TermsLines();
    auto widest = [&lines](const QFont& f) {
        const QFontMetrics metrics(f);
        int width = 0;
        for (const QString& line : lines) width = qMax(width, metrics.horizontalAdvance(line.trimmed()));
        return width;
    };
    qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    font.setPointSizeF(points);
    while (widest(font) > room && points > kSmallestTermsPoints) {
        points -= 0.5;
        font.setPointSizeF(points);
    }
    Memo1->setFont(font);
}

void TfrmAbout::CentreOnScreen()
{
    const QScreen* screen = parentWidget() != nullptr && parentWidget()->screen() != nullptr
                                ? parentWidget()->screen()
                                : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    move(screen->availableGeometry().center() - rect().center());
}

void TfrmAbout::FormClick() { accept(); }

void TfrmAbout::FormKeyPress(const QString& text, Qt::KeyboardModifiers modifiers)
{
    // A character typed with Alt held is a key combination, not a character.
    if (modifiers & Qt::AltModifier) return;
    if (text == QString(kFirstViewLetter)) ShowFirstView();
}

void TfrmAbout::FormKeyUp(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    // A held key repeats its press, not its release; Alt or Shift released
    // on their own are no letters of the word.
    if (autoRepeat || !(modifiers & Qt::AltModifier) || IsModifierKey(key)) return;
    const QChar letter = key > 0 && key <= 0xff ? QChar(key).toUpper() : QChar(QChar::ReplacementCharacter);
    const QString word = QLatin1String(kCodeWord);
    const QString run = codeBuffer_ + letter;
    // A letter that breaks the run starts it again.
    codeBuffer_ = word.contains(run) ? run : QString(letter);
    if (codeBuffer_ == word) {
        codeBuffer_.clear();
        ShowSecondView();
    }
}

void TfrmAbout::ShowFirstView()
{
    Image2->show();
    Memo1->hide();
    Label1->hide();
    Image1->hide();
}

void TfrmAbout::ShowSecondView()
{
    for (QWidget* part : {static_cast<QWidget*>(Memo1), static_cast<QWidget*>(Label1),
                          static_cast<QWidget*>(Image1), static_cast<QWidget*>(Image2),
                          static_cast<QWidget*>(Button1)})
        part->hide();
    Image3->show();
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            FormClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::mouseReleaseEvent(QMouseEvent* event)
{
    QDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) FormClick();
}

// Keys typed in the memo or on the button come here too: neither uses letters.
void TfrmAbout::keyPressEvent(QKeyEvent* event)
{
    FormKeyPress(event->text(), event->modifiers());
    QDialog::keyPressEvent(event);
}

void TfrmAbout::keyReleaseEvent(QKeyEvent* event)
{
    FormKeyUp(event->key(), event->modifiers(), event->isAutoRepeat());
    QDialog::keyReleaseEvent(event);
}

}  // namespace quillon
