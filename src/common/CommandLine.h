#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Takes one option's value: false, with `error` set, to refuse it.
using OptionValueTaker =
    std::function<bool(const QString& name, const QString& value, QString& error)>;
// Takes an argument that is neither help nor a value option: false, with `error` set, to
// refuse it.
using ArgumentTaker = std::function<bool(const QString& argument, QString& error)>;

// Reads a program's arguments in order. "--help" or "-h" sets `helpRequested` and ends the
// reading; each of `valueOptions` takes the argument after it through `takeValue`; any other
// argument goes to `takeOther`. False, with `error` set, at the first refusal or at a value
// option with nothing after it.
bool ReadCommandLine(const QStringList& args, const QStringList& valueOptions, bool& helpRequested,
                     const OptionValueTaker& takeValue, const ArgumentTaker& takeOther,
                     QString& error);
