#include "openanswers/Forme.h"

#include <utility>

CForme::CForme(std::int32_t id_, std::string text_) : id(id_), text(std::move(text_)) {}
