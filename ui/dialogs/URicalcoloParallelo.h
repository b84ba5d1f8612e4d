// TRicalcoloParallelo: the dialog of "Ricalcolo &parallelo...": number of paths, number of
// threads (the machine's cores at first) and the seed (drawn from the clock and shown, so
// that the user can repeat the run). OK refuses a bad value with a message and stays open.
#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>

class QLineEdit;

struct TParametriParalleli {
    int percorsi = 0;
    int numThread = 1;
    std::uint64_t seme = 0;
};

class TRicalcoloParallelo : public QDialog {
    Q_OBJECT
public:
    explicit TRicalcoloParallelo(QWidget* parent = nullptr);
    QLineEdit* Percorsi() const { return percorsi_; }
    QLineEdit* Thread() const { return thread_; }
    QLineEdit* Seme() const { return seme_; }

    // The values of the edits, or the message that refuses the first bad one.
    static std::optional<TParametriParalleli> Leggi(const QString& percorsi,
                                                    const QString& thread, const QString& seme,
                                                    QString& errore);
    // Valid after the dialog has been accepted.
    const TParametriParalleli& Parametri() const { return parametri_; }

    void accept() override;

private:
    QLineEdit* percorsi_;
    QLineEdit* thread_;
    QLineEdit* seme_;
    TParametriParalleli parametri_;
};
