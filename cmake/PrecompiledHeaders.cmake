# Precompiled headers, each compiled once and reused by every target of its
# kind: `core` (the standard library and Qt Core), `widgets` (core and Qt
# Widgets), `tests` (widgets, GoogleTest and Qt Test; defined in tests/, where
# GoogleTest is found). A compiler uses a precompiled header only when the
# flags match those it was made with, which is why every object is compiled
# position-independent (top CMakeLists.txt); -Winvalid-pch reports a header
# that could not be used.

# orbelan_precompiled_header_kind(<kind> <header> <libraries>...)
function(orbelan_precompiled_header_kind kind header)
  set(target orbelan_pch_${kind})
  add_library(${target} OBJECT ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/pch/empty.cpp)
  target_link_libraries(${target} PRIVATE ${ARGN})
  target_precompile_headers(${target} PRIVATE ${header})
endfunction()

# orbelan_precompiled_headers(<target> <kind>)
function(orbelan_precompiled_headers target kind)
  target_precompile_headers(${target} REUSE_FROM orbelan_pch_${kind})
endfunction()

orbelan_precompiled_header_kind(core ${CMAKE_CURRENT_LIST_DIR}/pch/core.h Qt6::Core)
orbelan_precompiled_header_kind(widgets ${CMAKE_CURRENT_LIST_DIR}/pch/widgets.h Qt6::Widgets)
