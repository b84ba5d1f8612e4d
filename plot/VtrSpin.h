// TFloatSpinEdit: a one-line edit with an up/down button pair that holds a floating-point
// value in its text, kept inside optional bounds, and filters the keys that may be typed.
#pragma once

#include <QChar>
#include <QLineEdit>

#include "core/base/Extended.h"

class QToolButton;

class TFloatSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFloatSpinEdit(QWidget* parent = nullptr);

    // When MaxValue equals MinValue there is no bound at all.
    Extended MinValue() const { return minValue_; }
    void SetMinValue(Extended v) { minValue_ = v; }
    Extended MaxValue() const { return maxValue_; }
    void SetMaxValue(Extended v) { maxValue_ = v; }
    Extended Increment() const { return increment_; }
    void SetIncrement(Extended v) { increment_ = v; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool enabled);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }

    // The text read as a number with the current decimal separator; MinValue if it is none.
    Extended Value() const;
    // Writes VerificaValore(v) in the shortest general form.
    void SetValue(Extended v);
    Extended VerificaValore(Extended v) const;

    QWidget* Pulsanti() const { return pulsanti_; }

    virtual bool CarattereValido(QChar key) const;
    virtual void Incrementa();
    virtual void Decrementa();

protected:
    // The platform's default beep; a refused key or a button of a read-only control sounds it.
    virtual void SegnaleAcustico();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Paste, cut and the other edits that bypass the key filter.
    bool ModificaConsentita() const { return editorEnabled_ && !isReadOnly(); }
    void AggiornaAltezzaMinima();
    void PosizionaPulsanti();

    Extended minValue_ = 0;
    Extended maxValue_ = 0;
    Extended increment_ = 1;
    QWidget* pulsanti_;
    QToolButton* su_;
    QToolButton* giu_;
    bool editorEnabled_ = true;
    bool autoSelect_ = true;
};
