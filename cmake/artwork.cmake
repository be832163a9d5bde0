# The artwork's files, named once for the project that draws them
# (tools/make_art) and for the game's builds that ship them. Given
# HANGMAN_ARTWORK_DIR, the folder they are drawn into, sets:
#   HANGMAN_IMAGES, HANGMAN_IMAGE_FILES   the images the game loads (pngs/)
#   HANGMAN_ICON_SIZES, HANGMAN_ICON_FILES the icons (icons/<size>.png)
#   HANGMAN_DRAWN_DIR                     the images and icons as drawn, before
#                                         they are recompressed into the above
#   HANGMAN_WINDOW_ICON                   icon.png, which the game opens
#   HANGMAN_FONT_FILE                     the font file the game opens (png/)
#   HANGMAN_FONT_LICENSE_COPY             its licence beside it
#   HANGMAN_ARTWORK_FILES                 all of them
# and finds the DejaVu fonts they are drawn with (HANGMAN_FONT_DIR) and their
# licence (HANGMAN_FONT_LICENSE). Elsewhere than Debian, point those at a
# folder with the DejaVu fonts and at their licence.
set(HANGMAN_IMAGES
  menu_screen.png options_menu.png difficulty_screen.png game_screen.png win_screen.png
  lose_screen.png start_button_sprites.png option_button_sprites.png easy_button_sprites.png
  med_button_sprites.png hard_button_sprites.png back_button_sprite.png off_on_button.png
  hung_boi_sprites.png letters_sprites.png)
list(TRANSFORM HANGMAN_IMAGES PREPEND ${HANGMAN_ARTWORK_DIR}/pngs/ OUTPUT_VARIABLE HANGMAN_IMAGE_FILES)
set(HANGMAN_ICON_SIZES 16 22 24 32 48 64 128 192 256 512)
list(TRANSFORM HANGMAN_ICON_SIZES PREPEND ${HANGMAN_ARTWORK_DIR}/icons/
     OUTPUT_VARIABLE HANGMAN_ICON_FILES)
list(TRANSFORM HANGMAN_ICON_FILES APPEND .png)
set(HANGMAN_WINDOW_ICON ${HANGMAN_ARTWORK_DIR}/icon.png)
set(HANGMAN_DRAWN_DIR ${HANGMAN_ARTWORK_DIR}/drawn)
set(HANGMAN_FONT_FILE ${HANGMAN_ARTWORK_DIR}/png/AtariST8x16SystemFont.ttf)
set(HANGMAN_FONT_LICENSE_COPY ${HANGMAN_ARTWORK_DIR}/png/DejaVu-LICENSE.txt)
set(HANGMAN_ARTWORK_FILES ${HANGMAN_IMAGE_FILES} ${HANGMAN_ICON_FILES} ${HANGMAN_WINDOW_ICON}
                          ${HANGMAN_FONT_FILE} ${HANGMAN_FONT_LICENSE_COPY})

find_path(HANGMAN_FONT_DIR DejaVuSans-Bold.ttf
  PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/dejavu /usr/share/fonts/TTF
  NO_CMAKE_FIND_ROOT_PATH
  DOC "Folder holding DejaVuSans-Bold.ttf, DejaVuSans.ttf and the DejaVu Sans Mono fonts"
  REQUIRED)
find_file(HANGMAN_FONT_LICENSE copyright LICENSE
  PATHS /usr/share/doc/fonts-dejavu-core /usr/share/licenses/dejavu-fonts ${HANGMAN_FONT_DIR}
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  DOC "The licence of the DejaVu fonts"
  REQUIRED)
