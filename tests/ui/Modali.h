// Shared by the GUI test programs: answers the modal dialogs a test expects, in order, and
// records any other modal dialog, closing every one so that exec() never blocks a test.
#pragma once

#include <deque>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>

#include "core/base/Conversioni.h"
#include "ui/widgets/StringGrid.h"

class TRisponditore : public QObject {
public:
    using Risposta = std::function<void(QWidget* dialogo)>;

    TRisponditore() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { Controlla(); });
        timer_.start();
    }

    // The next modal dialog gets this answer; a dialog the answer leaves open is closed.
    void Atteso(Risposta risposta) { attese_.push_back(std::move(risposta)); }

    // What went wrong since the last call: unexpected dialogs, dialogs an answer left open,
    // expected dialogs that never came. Clears everything.
    QStringList Problemi() {
        QStringList problemi = std::exchange(problemi_, {});
        if (!attese_.empty())
            problemi << QString("%1 expected dialog(s) never appeared").arg(attese_.size());
        attese_.clear();
        return problemi;
    }

private:
    static QString Descrivi(QWidget* w) {
        QString testo = QString("%1 \"%2\"").arg(w->metaObject()->className(), w->windowTitle());
        if (auto* box = qobject_cast<QMessageBox*>(w)) testo += ": " + box->text();
        return testo;
    }

    static void Chiudi(QWidget* w) {
        if (auto* dialogo = qobject_cast<QDialog*>(w))
            dialogo->reject();
        else
            w->close();
    }

    void Controlla() {
        QWidget* w = QApplication::activeModalWidget();
        if (occupato_ || !w || !w->isVisible()) return;
        occupato_ = true;
        if (attese_.empty()) {
            problemi_ << "unexpected modal dialog " + Descrivi(w);
            Chiudi(w);
        } else {
            Risposta risposta = std::move(attese_.front());
            attese_.pop_front();
            QPointer<QWidget> dialogo(w);
            risposta(w);
            if (dialogo && dialogo->isVisible() && QApplication::activeModalWidget() == dialogo) {
                problemi_ << "the answer left open " + Descrivi(dialogo);
                Chiudi(dialogo);
            }
        }
        occupato_ = false;
    }

    QTimer timer_;
    std::deque<Risposta> attese_;
    QStringList problemi_;
    bool occupato_ = false;
};

// The offscreen platform warns about every window it cannot size from hints; call from
// initTestCase, after the test logger has installed its own handler.
inline void ZittisciAvvisiPiattaforma() {
    static QtMessageHandler precedente = nullptr;
    precedente = qInstallMessageHandler(
        [](QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo) {
            if (!testo.contains("does not support propagateSizeHints"))
                precedente(tipo, contesto, testo);
        });
}

// Fails the current test with the fixture's problems and with any visible window left.
inline void ControllaFineTest(TRisponditore& risponditore) {
    QStringList problemi = risponditore.Problemi();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() == Qt::ToolTip) continue;
        problemi << QString("window left open: %1 \"%2\"")
                        .arg(w->metaObject()->className(), w->windowTitle());
        w->close();
    }
    if (!problemi.isEmpty()) QFAIL(qPrintable(problemi.join("\n")));
}

// Shows a window and waits until it is the active one, as the user's window would be.
inline void MostraAttiva(QWidget* finestra) {
    finestra->show();
    finestra->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(finestra));
}

// The end of a test with a main window: frees it (stopping a run a failed test left going),
// puts the separator back to '.', and fails the test with what the fixture saw.
inline void ChiudiFinestraPrincipale(QWidget* finestra, TRisponditore& risponditore) {
    delete finestra;
    SetDecimalSeparator('.');
    ControllaFineTest(risponditore);
}

// Clicks the named button of a dialog, as the user does.
inline void Clicca(QWidget* dialogo, const char* nome) {
    auto* pulsante = dialogo->findChild<QPushButton*>(nome);
    QVERIFY2(pulsante, nome);
    QTest::mouseClick(pulsante, Qt::LeftButton);
}

// The text and icon of a message box, then its OK.
struct TMessaggio {
    QString titolo;
    QString testo;
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    int pulsanti = 0;
};

inline TRisponditore::Risposta LeggiMessaggio(TMessaggio& letto) {
    return [&letto](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY2(box, w->metaObject()->className());
        letto = {box->windowTitle(), box->text(), box->icon(),
                 static_cast<int>(box->buttons().size())};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    };
}

// Replaces the text of an edit by typing, as the user does.
inline void Digita(QWidget* edit, const QString& testo) {
    edit->setFocus();
    if (auto* riga = qobject_cast<QLineEdit*>(edit)) riga->selectAll();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(edit)) spin->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, testo);
}

// Types into a cell the way a user does: the first key opens the cell's editor.
inline void ScriviCella(TStringGrid* grid, int colonna, int riga, const QString& testo) {
    grid->setFocus();
    grid->setCurrentCell(riga, colonna);
    QTest::keyClicks(grid, testo.left(1));
    QPointer<QWidget> editor = grid->indexWidget(grid->currentIndex());
    QVERIFY(editor);
    QTest::keyClicks(editor, testo.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits and closes the editor from its event queue.
    QTRY_VERIFY(!editor || !editor->isVisible());
}
