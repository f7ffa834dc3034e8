/* Identifiers shared by the resource script and the Windows module.
   Plain #defines only: the resource compiler reads this file too. */
#ifndef ORINTHAL_WIN32_RESOURCE_IDS_H
#define ORINTHAL_WIN32_RESOURCE_IDS_H

#define IDI_SAVER_ICON 100         /* icon group: 32, 48 and 64 pixels */
#define IDS_SAVER_NAME 1           /* "Orinthal v1.00" */
#define IDD_CONFIGURE 2003         /* the configuration dialog */

#define IDC_STAR_NUMBER 1012       /* trackbar: Number */
#define IDC_BACKGROUND 1019        /* check box: Background */
#define IDC_TEXT_ON 1020           /* check box: TextOn */
#define IDC_TEXT 1021              /* edit box: Text */
#define IDC_ROTATE_X 1022          /* check box: RotateX */
#define IDC_ROTATE_Y 1023          /* check box: RotateY */
#define IDC_ROTATE_Z 1024          /* check box: RotateZ */
#define IDC_TEXT_GROUP 1025        /* group box around the text controls */
#define IDC_ROTATE_SPEED 1026      /* trackbar: RotateSpeed */
#define IDC_TRAVEL_SPEED 1027      /* trackbar: TravelSpeed */
#define IDC_CYCLE_LENGTH 1028      /* trackbar: CycleLength */

#define IMAGES_FIRST_ID 119        /* type "IMAGES": 119 the star sprite, 120..130 backgrounds */
#define IMAGES_LAST_ID 130

#endif
