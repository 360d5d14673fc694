/* Resource numbers of the agent (shared by the resource script and the code). */
#ifndef Z4_RESOURCE_IDS_H
#define Z4_RESOURCE_IDS_H

#define IDI_AGENT 128           /* the task window's and the tray's icon */
#define IDI_CONFIG_NORMAL 129   /* tray menu entries */
#define IDI_CONFIG_SELECTED 130
#define IDI_EXIT_NORMAL 131
#define IDI_EXIT_SELECTED 132

#endif
