# One line per member of the org.quilo interfaces in introspection XML, written one
# element per line (as the installed files and gdbus write it):
#   INTERFACE method NAME in=TYPES out=TYPES | signal NAME TYPES | property NAME TYPE ACCESS
# Argument names and annotations are left out; in and out arguments each keep their order.
function attr(key,    m) {
    if (match($0, key "=\"[^\"]*\"")) {
        m = substr($0, RSTART + length(key) + 2, RLENGTH - length(key) - 3)
        return m
    }
    return ""
}
function flush() {
    if (kind == "method") print iface, "method", name, "in=" ins, "out=" outs
    if (kind == "signal") print iface, "signal", name, outs ins
    kind = ""
}
/<interface / { flush(); iface = attr("name"); ours = iface ~ /^org\.quilo\./ }
!ours { next }
/<property / { flush(); print iface, "property", attr("name"), attr("type"), attr("access") }
/<(method|signal) / {
    flush()
    kind = $0 ~ /<method / ? "method" : "signal"
    name = attr("name"); ins = ""; outs = ""
    if ($0 ~ /\/>/) flush()
}
/<arg / {
    if (attr("direction") == "out" || (kind == "signal" && attr("direction") == "")) outs = outs attr("type") ";"
    else ins = ins attr("type") ";"
}
/<\/(method|signal)>/ { flush() }
