// The translation unit a shared precompiled header is built with.
