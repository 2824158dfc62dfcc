#include "ring/view_match.h"

#include "app/app_main.h"
#include "ring/ring_main.h"

QRViewMatch::QRViewMatch(const QOXViewEngine& views) : Views(views), Enabled(views.AnyEnabled()) {}

const QVGeneric* QRViewMatch::Find(std::string_view fileName)
{
    if (Views.Count() == 0)
        return nullptr;
    const std::size_t dot = fileName.rfind('.');
    const std::string extension(dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1));
    const auto known = Known.find(extension);
    if (known != Known.end())
        return known->second;
    const QVGeneric* view = Views.FindView(extension, Enabled ? ViewScope::EnabledOnly : ViewScope::IncludeDisabled);
    Known.emplace(extension, view);
    return view;
}

QRViewMatchScope::QRViewMatchScope(QOXRing& ring) : Ring(ring)
{
    if (Ring.Matching == nullptr) {
        Own = new QRViewMatch(*App()->Views);
        Ring.Matching = Own;
    }
}

QRViewMatchScope::~QRViewMatchScope()
{
    if (Own != nullptr) {
        Ring.Matching = nullptr;
        delete Own;
    }
}
