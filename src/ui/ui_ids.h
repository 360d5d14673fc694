/* Resource numbers of the skinned windows (shared by ui.rc and the code). */
#ifndef Z4_UI_IDS_H
#define Z4_UI_IDS_H

#define IDD_COMB_WARN 133 /* the combination warning dialog */
#define IDD_PROGRESS 140  /* the progress window */

#endif
