// VARIANT and Qt values converted both ways: the one set of rules that Qt programs and the
// script host share for numbers, strings, booleans, null and missing, dates, exact decimals,
// byte and variant arrays, and dispatch objects.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QVariant>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"

// A dispatch object inside a QVariant.
using QorDispatchPtr = CComPtr<IDispatch>;
Q_DECLARE_METATYPE(QorDispatchPtr)

// VT_EMPTY and a missing argument give an invalid QVariant, VT_NULL a null pointer, integers
// of up to 32 bits an int (an unsigned 32-bit integer a uint), reals and currency a double,
// decimals and 64-bit integers what ExactNumberToQt gives, strings a QString, booleans a
// bool, dates a local QDateTime, objects a QorDispatchPtr, byte arrays a QByteArray and variant
// arrays a QVariantList. A reference is read through. False with the reason for a type that
// has no Qt form.
bool VariantToQt(const VARIANT& value, QVariant& out, std::string& error);
// The reverse: an invalid QVariant is a missing argument; an integer that does not fit 32 bits
// becomes a double; an object of another kind or a value Qt cannot turn into one of the forms
// above is refused with the reason.
bool VariantFromQt(const QVariant& value, CComVariant& out, std::string& error);

// A decimal or 64-bit integer as a double when a double holds it exactly, else as its text,
// so that no digit is lost.
QVariant ExactNumberToQt(const VARIANT& value);
// An automation date in local time to the second; invalid when it is none.
QDateTime DateToQt(DATE date);
// False with "the date is outside the range of automation dates" for an invalid time or one
// outside the years 100 to 9999.
bool DateFromQt(const QDateTime& time, CComVariant& out, std::string& error);
QByteArray BytesToQt(const VARIANT& value);
CComVariant BytesFromQt(const QByteArray& bytes);
// "a value of variant type N has no Qt form" style reason, with the form named.
std::string NoFormError(VARTYPE vt, const char* form);
