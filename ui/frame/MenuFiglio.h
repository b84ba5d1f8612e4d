// IMenuFiglio: a child window of the main frame that brings its own menus into the main menu
// bar while it is the active child, merged by group index.
#pragma once

#include <QList>

class QMenu;

class IMenuFiglio {
public:
    struct Voce {
        QMenu* menu;
        // A child's menus take the place of the main menus of the same group and sit between
        // the groups below and above theirs.
        int gruppo;
    };
    virtual ~IMenuFiglio() = default;
    virtual QList<Voce> MenuFiglio() const = 0;
};
