#pragma once

#include <QString>

class PanelEditor;
class ControlRecord;
class DesignButton;

// True when a state text ("On", "ON", "off", ...) means the on state.
bool isOnState(const QString &state);

// Gives `button` the pictures and background its record shows in the on or
// off state, resolving picture references as the panel does. A picture that
// cannot be loaded stops there: what was set before it stays. Used for the
// stored state (setControlGraphics) and for any other state a view shows.
void applyButtonGraphics(const PanelEditor &panel, DesignButton &button,
                         const ControlRecord &record, bool on);
