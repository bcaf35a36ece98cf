#pragma once

#include <clocale>
#include <locale>
#include <string>

// For the life of a test, makes both the C and the C++ global locale write ","
// as the decimal point, then restores the previous ones. The C locale needs an
// installed locale with a decimal comma (LOCPATH may point at a generated one);
// the C++ one is always available.
class CommaDecimalLocale {
public:
    CommaDecimalLocale()
        : savedC_(std::setlocale(LC_ALL, nullptr)), savedCpp_(std::locale())
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "fr_FR",
                                 "nl_NL.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
                cLocaleActive_ = true;
                break;
            }
        }
        if (!cLocaleActive_)
            std::setlocale(LC_ALL, savedC_.c_str());
        // An unnamed locale: installing it leaves the C locale alone.
        std::locale::global(std::locale(std::locale::classic(), new CommaPunctuation));
    }

    ~CommaDecimalLocale()
    {
        std::locale::global(savedCpp_);
        std::setlocale(LC_ALL, savedC_.c_str());
    }

    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool cLocaleActive() const { return cLocaleActive_; }

private:
    struct CommaPunctuation : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };

    std::string savedC_;
    std::locale savedCpp_;
    bool cLocaleActive_ = false;
};
