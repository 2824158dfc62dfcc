#include "lists/favorite_generic.h"

QFGeneric::QFGeneric(QOXObject* owner) : QOXObject(owner, "QOX Favorite") {}
