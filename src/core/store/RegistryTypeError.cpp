#include "core/store/RegistryTypeError.h"

RegistryTypeError::RegistryTypeError(const QString& valueName)
    : std::runtime_error(QStringLiteral("Invalid data type for '%1'").arg(valueName).toStdString()),
      name(valueName)
{
}
