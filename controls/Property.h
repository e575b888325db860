#pragma once
// How a property is set: the value is compared first, and only a new one is
// stored and shown. An equal value does nothing, so setting a property to what
// it already is never repaints, relays out or raises a change.

#include <QWidget>

namespace kelmora {

// Stores value in field when it differs; true when it did.
template <class T>
bool storeChanged(T& field, const T& value)
{
    if (field == value) return false;
    field = value;
    return true;
}

// A drawn property: stores a new value and repaints w. True when the value
// changed, for a setter that has more to do then (lay out, tell its owner).
template <class T>
bool setAndUpdate(QWidget& w, T& field, const T& value)
{
    if (!storeChanged(field, value)) return false;
    w.update();
    return true;
}

}  // namespace kelmora
