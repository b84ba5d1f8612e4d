#include "plot/VtrSpin.h"

#include <algorithm>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/base/Conversioni.h"

namespace {

constexpr int LarghezzaPulsanti = 15;
constexpr int AltezzaPulsanti = 17;

// The character a key press types, as the platform's character message carries it: a
// control letter gives its control code (Ctrl+A is 1), keys that type nothing give a null.
QChar CarattereDi(const QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar(static_cast<char16_t>(key - Qt::Key_A + 1));
    if (key == Qt::Key_Delete || event->text().isEmpty()) return QChar();
    return event->text().front();
}

QToolButton* CreaFreccia(QWidget* parent, Qt::ArrowType direzione, const char* nome) {
    auto* button = new QToolButton(parent);
    button->setObjectName(nome);
    button->setArrowType(direzione);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

}  // namespace

TFloatSpinEdit::TFloatSpinEdit(QWidget* parent)
    : QLineEdit(parent),
      pulsanti_(new QWidget(this)),
      su_(CreaFreccia(pulsanti_, Qt::UpArrow, "Su")),
      giu_(CreaFreccia(pulsanti_, Qt::DownArrow, "Giu")) {
    pulsanti_->setObjectName("Pulsanti");
    pulsanti_->resize(LarghezzaPulsanti, AltezzaPulsanti);
    auto* layout = new QVBoxLayout(pulsanti_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(su_);
    layout->addWidget(giu_);
    // Pressing a button puts the focus on the edit, as a click on the edit itself would.
    for (QToolButton* button : {su_, giu_})
        connect(button, &QToolButton::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
    connect(su_, &QToolButton::clicked, this, [this] { Incrementa(); });
    connect(giu_, &QToolButton::clicked, this, [this] { Decrementa(); });
    setText("0");
    AggiornaAltezzaMinima();
    PosizionaPulsanti();
}

void TFloatSpinEdit::SetEditorEnabled(bool enabled) {
    editorEnabled_ = enabled;
    setAcceptDrops(enabled);  // a drop is a paste by other means
}

Extended TFloatSpinEdit::Value() const {
    Extended v = 0;
    return TryTextToExtended(text().toStdString(), v) ? v : minValue_;
}

void TFloatSpinEdit::SetValue(Extended v) {
    setText(QString::fromStdString(FloatToStr(VerificaValore(v))));
}

Extended TFloatSpinEdit::VerificaValore(Extended v) const {
    if (maxValue_ == minValue_) return v;
    if (v < minValue_) return minValue_;
    if (v > maxValue_) return maxValue_;
    return v;
}

bool TFloatSpinEdit::CarattereValido(QChar key) const {
    const char16_t c = key.unicode();
    bool valido = c == u'+' || c == u'-' || (c >= u'0' && c <= u'9') ||
                  c == static_cast<char16_t>(DecimalSeparator()) || (c < 32 && c != u'\r');
    if (!editorEnabled_) valido = valido && c < 32 && c != u'\b';
    return valido;
}

void TFloatSpinEdit::Incrementa() {
    if (isReadOnly())
        SegnaleAcustico();
    else
        SetValue(Value() + increment_);
}

void TFloatSpinEdit::Decrementa() {
    if (isReadOnly())
        SegnaleAcustico();
    else
        SetValue(Value() - increment_);
}

void TFloatSpinEdit::SegnaleAcustico() { QApplication::beep(); }

void TFloatSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        Incrementa();
    else if (event->key() == Qt::Key_Down)
        Decrementa();

    if (!ModificaConsentita() &&
        (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
         event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
         event->key() == Qt::Key_Delete)) {
        event->accept();
        return;
    }
    const QChar key = CarattereDi(event);
    if (!key.isNull() && !CarattereValido(key)) {
        SegnaleAcustico();
        // A refused Enter still reaches the window, so a dialog's default button works.
        if (key == u'\r')
            event->ignore();
        else
            event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TFloatSpinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (autoSelect_ && !(QApplication::mouseButtons() & Qt::LeftButton)) selectAll();
}

void TFloatSpinEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Extended v = Value();
    if (VerificaValore(v) != v) SetValue(v);
}

void TFloatSpinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PosizionaPulsanti();
}

void TFloatSpinEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        AggiornaAltezzaMinima();
        PosizionaPulsanti();
    }
}

void TFloatSpinEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!ModificaConsentita()) {
        for (QAction* action : menu->actions()) {
            const QString nome = action->objectName();
            if (nome == "edit-cut" || nome == "edit-paste" || nome == "edit-delete" ||
                nome == "edit-undo" || nome == "edit-redo")
                action->setEnabled(false);
        }
    }
    menu->popup(event->globalPos());
}

void TFloatSpinEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection on X11.
    if (event->button() == Qt::MiddleButton && !ModificaConsentita()) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TFloatSpinEdit::AggiornaAltezzaMinima() {
    const int carattere = QFontMetrics(font()).height();
    const int sistema = QFontMetrics(QApplication::font()).height();
    constexpr int bordo = 1;
    setMinimumHeight(carattere + std::min(sistema, carattere) / 4 + 4 * bordo + 2);
}

void TFloatSpinEdit::PosizionaPulsanti() {
    const int cornice = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    pulsanti_->setGeometry(width() - LarghezzaPulsanti - cornice, cornice, LarghezzaPulsanti,
                           std::max(height() - 2 * cornice, 2));
    setTextMargins(0, 0, LarghezzaPulsanti + 2, 0);
}
