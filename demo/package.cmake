# The demo package: six generated pictures (a colour and a numeral each) on a
# cube, two satellites circling it, every copy spinning about all three axes.
set(GLIMMER_DEMO_PICTURES_DIR ${CMAKE_BINARY_DIR}/demo/pictures)
set(GLIMMER_DEMO_PICTURES "")
foreach(n 1 2 3 4 5 6)
  list(APPEND GLIMMER_DEMO_PICTURES ${GLIMMER_DEMO_PICTURES_DIR}/picture${n}.jpg)
endforeach()
set(GLIMMER_DEMO_PACKAGE ${GLIMMER_DEMO_DIR}/glimmerdemo.DAT)

add_custom_command(
  OUTPUT ${GLIMMER_DEMO_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GLIMMER_DEMO_PICTURES_DIR}
  COMMAND demo_pictures ${GLIMMER_DEMO_PICTURES_DIR}
  DEPENDS demo_pictures
  COMMENT "Drawing the demo pictures")

add_custom_command(
  OUTPUT ${GLIMMER_DEMO_PACKAGE}
  COMMAND glimmerkit pack
          --output ${GLIMMER_DEMO_PACKAGE}
          --name "Glimmerkit Demo"
          --description "Six numbered pictures on a spinning cube, with two smaller companions circling it. Made with Glimmerkit."
          --banner "Glimmerkit demo: a cube of six pictures and two satellites. Move the mouse or press a key to end."
          --satellites 2 --distance 2 --orbit-step 2
          --spin-x 3 --spin-y 2 --spin-z 1
          ${GLIMMER_DEMO_PICTURES}
  DEPENDS glimmerkit ${GLIMMER_DEMO_PICTURES}
  COMMENT "Packing the demo package"
  VERBATIM)

add_custom_target(demo_package ALL DEPENDS ${GLIMMER_DEMO_PACKAGE})
