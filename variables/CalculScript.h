#pragma once

#include <string>
#include <vector>

#include "app/Message.h"

class CEnquete;

// What computes the values of a "Par script" variable: the script language's evaluator, given
// the script text, gives one value per interview of the survey, or false with the message of
// the first fault it finds (the script is then not evaluated at all).
class CCalculScript {
public:
    virtual ~CCalculScript() = default;
    virtual bool Calculer(const std::string& script, CEnquete& survey, std::vector<double>& values,
                          Message& error) = 0;
};
