#pragma once

#include <QString>

#include <stdexcept>

// A setting was found with a registry type the settings object cannot read
// (everything it writes is a string). Nothing in the settings object catches
// it: the caller sees it as the failure it is.
class RegistryTypeError : public std::runtime_error
{
public:
    explicit RegistryTypeError(const QString& valueName);

    QString valueName() const { return name; }

private:
    QString name;
};
