# The demo saver's songs, written by our own generator beside the package:
# a MIDI tune and a WAVE of chimes.
set(GLIMMER_DEMO_SONGS ${GLIMMER_DEMO_DIR}/juk00001.mid ${GLIMMER_DEMO_DIR}/juk00002.wav)
add_custom_command(OUTPUT ${GLIMMER_DEMO_SONGS}
                   COMMAND demo_songs ${GLIMMER_DEMO_DIR}
                   DEPENDS demo_songs
                   COMMENT "Writing the demo songs")
add_custom_target(glimmer_demo_songs ALL DEPENDS ${GLIMMER_DEMO_SONGS})
