# The skin picture generator. Included from src/skin (which needs its output at build time and
# is configured before tools/) and from tools/skin; the guard keeps one definition.
if(NOT TARGET mozhou-skin-pictures)
    add_executable(mozhou-skin-pictures
        ${CMAKE_CURRENT_LIST_DIR}/main.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SkinPictures.cpp
        ${CMAKE_CURRENT_LIST_DIR}/Painting.cpp)
    target_link_libraries(mozhou-skin-pictures PRIVATE Qt6::Gui)
endif()
