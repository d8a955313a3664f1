// The switch to a UTF-8 character type before Qt starts: which locales it
// changes, what it keeps, and that the programs then print nothing of
// Qt's own about the locale.

#include "app/startup/Utf8Locale.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include <langinfo.h>

using namespace gelcoat;

namespace {

constexpr const char* kLocaleVariables[] = {
    "LANG",        "LANGUAGE",     "LC_ALL",         "LC_CTYPE",         "LC_COLLATE",
    "LC_MONETARY", "LC_NUMERIC",   "LC_TIME",        "LC_MESSAGES",      "LC_PAPER",
    "LC_NAME",     "LC_ADDRESS",   "LC_TELEPHONE",   "LC_MEASUREMENT",   "LC_IDENTIFICATION",
};

std::optional<std::string> variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// Each case starts from an environment with the given locale variables
// only, and the process's own is put back afterwards.
class Utf8Locale : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kLocaleVariables)
            saved[name] = variable(name);
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        std::setlocale(LC_ALL, "C");
    }

    static void environment(std::map<std::string, std::string> values)
    {
        for (const char* name : kLocaleVariables)
            unsetenv(name);
        for (const auto& [name, value] : values)
            setenv(name.c_str(), value.c_str(), 1);
    }

    // The locale a program started now would take from the environment.
    static std::string codeset()
    {
        std::setlocale(LC_ALL, "");
        return nl_langinfo(CODESET);
    }

    std::map<std::string, std::optional<std::string>> saved;
};

TEST_F(Utf8Locale, NoLocaleAtAllBecomesUtf8CharacterTypesOnly)
{
    environment({});
    EXPECT_TRUE(useUtf8CharacterTypes());
    EXPECT_EQ(variable("LC_CTYPE"), "C.UTF-8");
    EXPECT_EQ(variable("LC_ALL"), std::nullopt);
    EXPECT_EQ(variable("LC_NUMERIC"), std::nullopt);
    EXPECT_EQ(variable("LANG"), std::nullopt);
    EXPECT_EQ(codeset(), "UTF-8");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

TEST_F(Utf8Locale, LcAllKeepsEveryOtherCategory)
{
    // LC_ALL outranks LC_CTYPE, so its value is handed to the other
    // categories one by one.
    environment({{"LC_ALL", "POSIX"}, {"LANG", "C.UTF-8"}, {"LC_TIME", "C.UTF-8"}});
    EXPECT_TRUE(useUtf8CharacterTypes());
    EXPECT_EQ(variable("LC_ALL"), std::nullopt);
    EXPECT_EQ(variable("LC_CTYPE"), "C.UTF-8");
    for (const char* category : {"LC_COLLATE", "LC_NUMERIC", "LC_TIME", "LC_MESSAGES", "LC_MONETARY"})
        EXPECT_EQ(variable(category), "POSIX") << category;
    EXPECT_EQ(codeset(), "UTF-8");
    EXPECT_STREQ(std::setlocale(LC_COLLATE, nullptr), "C");
    EXPECT_STREQ(std::setlocale(LC_TIME, nullptr), "C");
}

TEST_F(Utf8Locale, Utf8LocalesAndUnknownNamesAreLeftAsTheyAre)
{
    for (const std::map<std::string, std::string>& utf8 :
         {std::map<std::string, std::string>{{"LANG", "C.UTF-8"}},
          {{"LC_ALL", "C.utf8"}, {"LC_CTYPE", "C"}},
          {{"LANG", "C"}, {"LC_CTYPE", "C.UTF-8"}}}) {
        environment(utf8);
        EXPECT_FALSE(useUtf8CharacterTypes()) << utf8.begin()->first << "=" << utf8.begin()->second;
        for (const char* name : kLocaleVariables) {
            const auto given = utf8.find(name);
            EXPECT_EQ(variable(name),
                      given == utf8.end() ? std::nullopt : std::optional<std::string>(given->second))
                << name;
        }
    }
    // A locale that is not installed leaves C, as it would for Qt: switched.
    environment({{"LANG", "xx_XX.ISO-8859-1"}});
    EXPECT_TRUE(useUtf8CharacterTypes());
    EXPECT_EQ(variable("LANG"), "xx_XX.ISO-8859-1");
    EXPECT_EQ(variable("LC_CTYPE"), "C.UTF-8");
}

TEST(Utf8LocaleProgram, RendersWithNothingOfQtsOnStderrInAnyLocale)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    for (const QString& setting : {QString(), QStringLiteral("LC_ALL=C"), QStringLiteral("LANG=POSIX"),
                                   QStringLiteral("LANG=C.UTF-8")}) {
        // As `env -i` starts it: a path, a home and at most one locale
        // variable.
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        env.insert(QStringLiteral("HOME"), home.path());
        if (!setting.isEmpty())
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess render;
        render.setProcessEnvironment(env);
        render.setWorkingDirectory(home.path());
        render.start(QStringLiteral(GELCOAT_RENDER_BINARY), {QStringLiteral("--info")});
        ASSERT_TRUE(render.waitForFinished(60000));
        EXPECT_EQ(render.exitCode(), 0) << setting.toStdString();
        EXPECT_EQ(render.readAllStandardError().toStdString(), "") << setting.toStdString();
        EXPECT_TRUE(render.readAllStandardOutput().startsWith("{\"source\":")) << setting.toStdString();
    }
}

} // namespace
