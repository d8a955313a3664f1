#include "app/startup/Utf8Locale.h"

#include <clocale>
#include <cstdlib>
#include <string>

#include <langinfo.h>
#include <strings.h>

namespace gelcoat {

namespace {

constexpr const char* kUtf8Locale = "C.UTF-8";

// The categories LC_ALL stands for, bar LC_CTYPE.
constexpr const char* kOtherCategories[] = {
    "LC_COLLATE", "LC_MONETARY", "LC_NUMERIC", "LC_TIME",        "LC_MESSAGES",      "LC_PAPER",
    "LC_NAME",    "LC_ADDRESS",  "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION",
};

bool isUtf8(const char* codeset)
{
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0;
}

} // namespace

bool useUtf8CharacterTypes()
{
    // The locale as Qt will take it, from the environment; a name that is
    // not installed leaves the C locale a program starts in.
    if (!std::setlocale(LC_ALL, ""))
        std::setlocale(LC_ALL, "C");
    if (isUtf8(nl_langinfo(CODESET)))
        return false;
    if (!std::setlocale(LC_CTYPE, kUtf8Locale))
        return false;
    // LC_ALL outranks LC_CTYPE: its value moves to each other category.
    if (const char* all = std::getenv("LC_ALL"); all && *all) {
        const std::string value = all;
        for (const char* category : kOtherCategories)
            setenv(category, value.c_str(), 1);
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", kUtf8Locale, 1);
    return true;
}

} // namespace gelcoat
