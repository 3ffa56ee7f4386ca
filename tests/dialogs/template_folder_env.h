#pragma once
// Points the label template folder of the running test somewhere else and
// back again when it ends.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class ScopedTemplateFolder
{
  public:
    explicit ScopedTemplateFolder(const QString &folder)
        : had_(qEnvironmentVariableIsSet(kVar)), old_(qgetenv(kVar))
    {
        qputenv(kVar, folder.toLocal8Bit());
    }
    ~ScopedTemplateFolder()
    {
        if (had_)
            qputenv(kVar, old_);
        else
            qunsetenv(kVar);
    }
    ScopedTemplateFolder(const ScopedTemplateFolder &) = delete;
    ScopedTemplateFolder &operator=(const ScopedTemplateFolder &) = delete;

  private:
    static constexpr const char *kVar = "DORLIX_LABEL_TEMPLATES";
    bool had_;
    QByteArray old_;
};
