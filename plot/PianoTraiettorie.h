// TPianoTraiettorie: a plane that draws functions of one variable as yellow curves, one value
// per pixel column, and multi-valued functions as clouds of white points.
#pragma once

#include <memory>
#include <vector>

#include "core/base/Funzione.h"
#include "plot/PianoCartesiano.h"

class TPianoTraiettorie : public TPianoCartesiano {
    Q_OBJECT
public:
    // Most values a multi-valued function gives for one column.
    static constexpr int PuntiPerColonna = 129;

    explicit TPianoTraiettorie(QWidget* parent = nullptr);
    ~TPianoTraiettorie() override;

    // The plane owns what it is given; curves are drawn in order, then the clouds.
    void AddFunzione(std::unique_ptr<TFunzione> f);
    void AddMultiFunzione(std::unique_ptr<TMultiFunzione> m);
    // Frees every function and repaints.
    void Clear();
    int NumFunzioni() const { return static_cast<int>(funzioni_.size()); }
    // Column 0 the abscissas (the grid of the first stored path drawn, else one per pixel
    // column), a column per curve, then a column per cloud with one point per row.
    std::optional<TDatiPiano> Dati(const std::atomic<bool>& ferma) override;
    bool DatiDisponibili() const override { return true; }
    int NumMultiFunzioni() const { return static_cast<int>(multiFunzioni_.size()); }
    // Curve i, 0-based, in the order they were added.
    TFunzione& Funzione(int i) const { return *funzioni_.at(static_cast<std::size_t>(i)); }

protected:
    void PaintForeground(TRepaintThread& thread) override;

private:
    // Both draw column by column; ascisse holds each column's abscissa, from the left edge.
    void DisegnaCurva(TRepaintThread& thread, TFunzione& f, const std::vector<Extended>& ascisse);
    void DisegnaNuvola(TRepaintThread& thread, TMultiFunzione& m,
                       const std::vector<Extended>& ascisse, std::vector<Extended>& buffer);

    std::vector<std::unique_ptr<TFunzione>> funzioni_;
    std::vector<std::unique_ptr<TMultiFunzione>> multiFunzioni_;
};
