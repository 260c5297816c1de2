#include "core/store/RegistryTool.h"

#include "core/store/RegistryStore.h"
#include "core/store/RegistryTextFormat.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

RegistryTool::RegistryTool(const QString& databasePath, QTextStream& out, QTextStream& err)
    : databasePath(databasePath), out(out), err(err)
{
}

RegistryTool::~RegistryTool() = default;

QString RegistryTool::usage()
{
    return QStringLiteral(
        "Usage: quillwave-reg COMMAND [ARGUMENTS]\n"
        "\n"
        "Reads and edits Quillwave's settings store.\n"
        "\n"
        "Commands:\n"
        "  export [KEY]        print KEY and everything below it (without KEY: every\n"
        "                      key) as \"Windows Registry Editor Version 5.00\" text\n"
        "  import FILE         apply such a text file (\"-\" reads standard input);\n"
        "                      nothing is written unless the whole file is valid\n"
        "  get KEY NAME        print a value: strings as they are, dword values in decimal\n"
        "  set KEY NAME TEXT   write a string value, creating the key when needed\n"
        "  delete KEY          delete a key with all its values and sub-keys\n"
        "  delete KEY NAME     delete one value\n"
        "  --help              show this text\n"
        "\n"
        "KEY is a full path such as\n"
        "  HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave\\CurrentVersion\n"
        "starting with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT, with\n"
        "single backslashes between non-empty key names. Key and value names compare\n"
        "without regard to case. An empty NAME (\"\") is the key's default value.\n"
        "\n"
        "The store is $QUILLWAVE_HOME/settings.sqlite when QUILLWAVE_HOME is set,\n"
        "else settings.sqlite in the per-user configuration folder.\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  the store could not be opened, read or written\n"
        "  2  bad usage, a malformed import file, or a key or value that does not exist\n");
}

int RegistryTool::run(const QStringList& arguments)
{
    if (arguments.isEmpty())
    {
        err << usage();
        err.flush();
        return BadInput;
    }
    const QString command = arguments.first();
    const QStringList args = arguments.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help"))
    {
        out << usage();
        out.flush();
        return Success;
    }
    if (command == QLatin1String("export"))
        return exportCommand(args);
    if (command == QLatin1String("import"))
        return importCommand(args);
    if (command == QLatin1String("get"))
        return getCommand(args);
    if (command == QLatin1String("set"))
        return setCommand(args);
    if (command == QLatin1String("delete"))
        return deleteCommand(args);
    return fail(BadInput,
                QStringLiteral("unknown command \"%1\"; see quillwave-reg --help").arg(command));
}

int RegistryTool::exportCommand(const QStringList& args)
{
    if (args.size() > 1)
        return fail(BadInput, QStringLiteral("usage: quillwave-reg export [KEY]"));
    if (!args.isEmpty() && !validKeyPath(args.first()))
        return BadInput;
    RegistryStore* s = openStore();
    if (!s)
        return StoreFailure;
    QString text;
    if (args.isEmpty())
    {
        text = RegistryTextFormat::exportAll(*s);
    }
    else
    {
        text = RegistryTextFormat::exportKey(*s, args.first());
        if (text.isEmpty())
            return fail(BadInput, QStringLiteral("no key %1").arg(args.first()));
    }
    out << text;
    out.flush();
    return Success;
}

int RegistryTool::importCommand(const QStringList& args)
{
    if (args.size() != 1)
        return fail(BadInput, QStringLiteral("usage: quillwave-reg import FILE"));
    const QString fileName = args.first();
    QFile file(fileName);
    const bool opened = fileName == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                       : file.open(QIODevice::ReadOnly);
    if (!opened)
        return fail(BadInput,
                    QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
    const RegistryTextFormat::ParseResult parsed = RegistryTextFormat::parse(file.readAll());
    if (!parsed.ok())
        return fail(BadInput,
                    QStringLiteral("%1: %2; nothing was imported").arg(fileName, parsed.error));
    RegistryStore* s = openStore();
    if (!s)
        return StoreFailure;
    QString error;
    if (!RegistryTextFormat::apply(*s, parsed.operations, &error))
        return fail(StoreFailure,
                    QStringLiteral("%1: %2; nothing was imported").arg(fileName, error));
    return Success;
}

int RegistryTool::getCommand(const QStringList& args)
{
    if (args.size() != 2)
        return fail(BadInput, QStringLiteral("usage: quillwave-reg get KEY NAME"));
    if (!validKeyPath(args[0]))
        return BadInput;
    RegistryStore* s = openStore();
    if (!s)
        return StoreFailure;
    const std::optional<RegValue> value = s->value(args[0], args[1]);
    if (!value)
    {
        if (!s->keyExists(args[0]))
            return fail(BadInput, QStringLiteral("no key %1").arg(args[0]));
        return fail(BadInput, QStringLiteral("no value \"%1\" in %2").arg(args[1], args[0]));
    }
    out << (value->type == RegValue::DWord ? QString::number(value->dword) : value->text) << '\n';
    out.flush();
    return Success;
}

int RegistryTool::setCommand(const QStringList& args)
{
    if (args.size() != 3)
        return fail(BadInput, QStringLiteral("usage: quillwave-reg set KEY NAME TEXT"));
    if (!validKeyPath(args[0]))
        return BadInput;
    RegistryStore* s = openStore();
    if (!s)
        return StoreFailure;
    if (!s->setString(args[0], args[1], args[2]))
        return fail(StoreFailure,
                    QStringLiteral("could not write \"%1\" in %2").arg(args[1], args[0]));
    return Success;
}

int RegistryTool::deleteCommand(const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2)
        return fail(BadInput, QStringLiteral("usage: quillwave-reg delete KEY [NAME]"));
    const QString& key = args[0];
    if (!validKeyPath(key))
        return BadInput;
    if (args.size() == 1 && RegistryStore::splitKeyPath(key).size() == 1)
        return fail(BadInput, QStringLiteral("the root key %1 cannot be deleted").arg(key));
    RegistryStore* s = openStore();
    if (!s)
        return StoreFailure;
    if (!s->keyExists(key))
        return fail(BadInput, QStringLiteral("no key %1").arg(key));
    if (args.size() == 1)
    {
        if (!s->deleteKey(key))
            return fail(StoreFailure, QStringLiteral("could not delete %1").arg(key));
        return Success;
    }
    if (!s->value(key, args[1]))
        return fail(BadInput, QStringLiteral("no value \"%1\" in %2").arg(args[1], key));
    if (!s->deleteValue(key, args[1]))
        return fail(StoreFailure,
                    QStringLiteral("could not delete \"%1\" in %2").arg(args[1], key));
    return Success;
}

RegistryStore* RegistryTool::openStore()
{
    if (!store)
        store = std::make_unique<RegistryStore>(databasePath);
    if (!store->isOpen())
    {
        fail(StoreFailure, QStringLiteral("cannot open the settings store %1").arg(databasePath));
        return nullptr;
    }
    return store.get();
}

int RegistryTool::fail(ExitCode code, const QString& message)
{
    err << "quillwave-reg: " << message << '\n';
    err.flush();
    return code;
}

bool RegistryTool::validKeyPath(const QString& key)
{
    if (!RegistryStore::splitKeyPath(key).isEmpty())
        return true;
    fail(BadInput, QStringLiteral("invalid key path \"%1\": it must start with HKEY_CURRENT_USER, "
                                  "HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT and have no empty "
                                  "key names")
                       .arg(key));
    return false;
}
