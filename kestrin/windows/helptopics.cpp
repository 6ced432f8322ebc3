#include "kestrin/windows/helptopics.h"

namespace kestrin::help {

namespace {

// A weapon topic: "Game description:", the description, then nine blocks of
// an empty line, the label and the value.
#define WEAPON(description, caliber, capability, kg, lb, damage, range, ap, burst, apBurst) \
    "Game description:\n" description                                                        \
    "\n\nCaliber:\n" caliber                                                                 \
    "\n\nCapability:\n" capability                                                           \
    "\n\nWeight(kg):\n" kg                                                                   \
    "\n\nWeight(lb):\n" lb                                                                   \
    "\n\nDamage:\n" damage                                                                   \
    "\n\nRange:\n" range                                                                     \
    "\n\nAP:\n" ap                                                                           \
    "\n\nBurst:\n" burst                                                                     \
    "\n\nAP burst:\n" apBurst

// A helmet or a vest: one sentence with its armour value.
#define ARMOUR(percent) "Adds " #percent "% to your armor-class."

// The line of the traits that expert mode does not allow.
#define NOT_EXPERT "\n\nIsn't applicable as expert-mode."

// "Loner" and "Arrogant" share this text.
#define UNKNOWN_ATTITUDE                                                            \
    "We don't know yet what this attitude does in the game.\n\n"                    \
    "If you find out, please tell us: send a short note to "                        \
    "kestrin@varnhold.example.org and it will be in the next version of this help."

const Topic kTopics[] = {
    // General
    {"", "Welcome to the Kestrin help.\n\n"
         "Pick a topic in the tree on the left and its text appears here. "
         "A folder holds topics; a page is a topic of its own."},
    {"How to install?", "Open the zip-file and run Setup.exe"},
    {"Special notes",
     "Only part of the inventory can be changed with Kestrin. Items that are added by cheating "
     "behave badly in the game: they can turn up with a condition of 0%, for example, so the "
     "editor offers only the starting kit it knows to be safe.\n\n"
     "Armoured leggings cannot be added at all."},
    {"Where to get new versions?",
     "New versions of Kestrin are published on its web page:\n\n"
     "https://varnhold.example.org/kestrin\n\n"
     "Have a look there from time to time; the version history in this help tells you what "
     "has changed."},
    {"Onlineversion",
     "This is taken out, sorry. Because it caused a lot of problems and we had too little time."},
    {"You found a bug?",
     "Please send an e-mail to kestrin@varnhold.example.org.\n\n"
     "Describe in detail what you were doing when the error occurred: which buttons you "
     "pressed, which values you changed and what happened then. The more we know, the "
     "sooner we can fix it."},
    {"Version history",
     "Version 1.03\n"
     "\u2022 The selection of IMP.dat is now manual: press \"Set IMP.dat path\" and choose the "
     "file before you edit.\n"
     "\u2022 Help texts added for the inventory.\n"
     "\n"
     "Version 1.02\n"
     "\u2022 The inventory got its presets: one click sets attributes, traits and the whole "
     "starting kit.\n"
     "\u2022 The armour total is shown in the inventory.\n"
     "\n"
     "Version 1.01\n"
     "\u2022 Helmets and vests in their improved grades.\n"
     "\u2022 Fixed the health value dropping below 15.\n"
     "\n"
     "Version 1.0 (Final release)\n"
     "\u2022 First public release."},
    {"Versions supported",
     "Kestrin works with the US version 1.03 of the game and with the German versions 1.00 to "
     "1.02.\n\n"
     "Other versions are untested. Make a copy of IMP.dat before you try one, and tell us at "
     "kestrin@varnhold.example.org whether it worked."},

    // Appearance
    {"Sex",
     "There are three looks to choose from:\n\n"
     "Male: the normal, strong male body.\n"
     "Male (slim): a slimmer, weaker-looking male body.\n"
     "Female: the only female look the game has."},
    {"Voice", "Choose from three male and three female voices."},
    {"Haircolor", "Available colors:\nBlack\nBlond\nBrown\nRed\nRedbrown\nWhite"},
    {"Skincolor", "Available colors:\nBlack\nDark\nPink\nTan"},
    {"Vestcolor",
     "Available colors:\nBlack (shirt)\nBlue\nBrown\nGreen\nGrey\nJean\nPurple (shirt)\nRed\n"
     "White\nYellow\nYellow (shirt)"},
    {"Pantscolor", "Available colors:\nBeige\nBlack\nBlue\nGreen\nJean\nTan"},

    // Inventory: weapons
    {"Glock 17", WEAPON("A light and dependable 9mm service pistol with a large magazine.",
                        "9mm", "15", "0.8", "1.8", "21", "12", "7", "N/A", "N/A")},
    {"Glock 18", WEAPON("The Glock 17 made into a machine pistol: it also fires short bursts.",
                        "9mm", "15", "0.8", "1.8", "21", "12", "7", "5 rounds", "11")},
    {"Beretta 92F", WEAPON("A sturdy 9mm pistol, the sidearm of many armies.",
                           "9mm", "15", "1.3", "2.9", "22", "12", "6", "N/A", "N/A")},
    {"Beretta 93R", WEAPON("A 9mm pistol with a burst mode for close-range emergencies.",
                           "9mm", "15", "1.3", "2.9", "22", "12", "7", "5 rounds", "11")},
    {".38 Special", WEAPON("A classic revolver: only six rounds, but simple and reliable.",
                           ".38", "6", "1.2", "2.6", "22", "13", "11", "N/A", "N/A")},
    {"Barracuda", WEAPON("A compact .357 revolver with good stopping power.",
                         ".357", "6", "1.1", "2.4", "24", "13", "11", "N/A", "N/A")},
    {"Desert Eagle", WEAPON("A big, heavy pistol that hits hard and is loud about it.",
                            ".357", "9", "2.0", "4.4", "24", "13", "11", "N/A", "N/A")},
    {"Colt .45", WEAPON("The old .45 service pistol: few rounds, but each one counts.",
                        ".45", "7", "1.3", "2.9", "23", "12", "7", "N/A", "N/A")},
    {"Automag III", WEAPON("A large pistol that fires rifle rounds and reaches nearly as far.",
                           "7.62mm NATO", "5", "1.3", "2.9", "29", "22", "10", "N/A", "N/A")},

    {"H&K MP5K", WEAPON("A short sub machine gun, easy to carry and quick to bring into action.",
                        "9mm", "30", "2.4", "5.3", "23", "20", "6", "5 rounds", "10")},
    {"MAC-10", WEAPON("Small and crude; it empties its magazine in no time.",
                      ".45", "30", "3.8", "8.4", "27", "20", "7", "5 rounds", "11")},
    {"Thompson M1A1", WEAPON("The veteran of many wars: heavy, but it still hits hard.",
                             ".45", "30", "5.8", "12.8", "24", "20", "9", "4 rounds", "13")},
    {"Colt Commando", WEAPON("A cut-down assault rifle that does the work of a sub machine gun.",
                             "5.56mm", "30", "3.1", "6.8", "29", "20", "6", "4 rounds", "10")},
    {"H&K MP53", WEAPON("A compact carbine that fires rifle rounds in short bursts.",
                        "5.56mm", "30", "3.6", "7.6", "25", "20", "7", "3 rounds", "11")},
    {"AKSU-74", WEAPON("The short version of the AK-74, popular with vehicle crews.",
                       "5.45mm", "30", "4.5", "9.9", "20", "26", "5", "4 rounds", "9")},
    {"FN-P90", WEAPON("A compact bullpup with a fifty-round magazine lying on top.",
                      "5.7mm", "50", "3.7", "8.1", "30", "22", "6", "5 rounds", "10")},
    {"Type-85", WEAPON("A light sub machine gun of eastern make: cheap, simple and sturdy.",
                       "7.62mm WP", "30", "2.7", "5.9", "23", "20", "9", "4 rounds", "13")},

    {"Dragunov", WEAPON("The eastern sniper rifle: semi-automatic and accurate at long range.",
                        "7.62mm WP", "10", "4.6", "10.1", "33", "75", "13", "N/A", "N/A")},
    {"M-24", WEAPON("A bolt-action sniper rifle with the longest reach of all.",
                    "7.62mm NATO", "5", "6.7", "14.7", "32", "80", "13", "N/A", "N/A")},

    {"Steyr AUG", WEAPON("A bullpup assault rifle with a built-in sight and a good range.",
                         "5.56mm", "30", "4.1", "9.0", "30", "50", "7", "3 rounds", "11")},
    {"H&K G41", WEAPON("A well-made 5.56mm assault rifle with a four-round burst.",
                       "5.56mm", "30", "4.1", "10.1", "29", "30", "7", "4 rounds", "11")},
    {"C7 / M16A2", WEAPON("The standard assault rifle of many western armies.",
                          "5.56mm", "30", "4.1", "9.0", "30", "40", "6", "5 rounds", "10")},
    {"FA-MAS", WEAPON("A short bullpup rifle with a very high rate of fire.",
                      "5.56mm", "30", "4.1", "9.0", "30", "25", "5", "5 rounds", "9")},
    {"AK-74", WEAPON("The successor of the famous AK-47, firing the small 5.45mm round.",
                     "5.45mm", "30", "4.2", "9.2", "28", "35", "5", "3 rounds", "9")},
    {"AKM", WEAPON("A rugged rifle that keeps working in any dirt and any weather.",
                   "5.45mm", "30", "5.1", "11.2", "29", "25", "5", "3 rounds", "10")},
    {"M-14", WEAPON("A heavy battle rifle with powerful 7.62mm rounds.",
                    "7.62mm NATO", "20", "3.7", "8.1", "33", "33", "7", "4 rounds", "11")},
    {"FN-FAL", WEAPON("A long-ranged battle rifle, carried by armies all over the world.",
                      "7.62mm NATO", "20", "5.1", "11.2", "32", "42", "5", "3 rounds", "9")},
    {"H&K G3A3", WEAPON("A robust battle rifle firing full-power 7.62mm NATO rounds.",
                        "7.62mm NATO", "20", "5.2", "11.4", "31", "30", "7", "3 rounds", "11")},
    {"H&K G11", WEAPON("An experimental rifle firing caseless 4.7mm rounds from a large magazine.",
                       "4.7mm", "50", "4.3", "9.5", "27", "25", "7", "3 rounds", "8")},

    {"SKS", WEAPON("An old semi-automatic carbine, cheap and reliable.",
                   "7.62mm WP", "10", "4.2", "9.2", "31", "30", "7", "N/A", "N/A")},
    {"Ruger Mini-14", WEAPON("A light semi-automatic rifle firing 5.56mm rounds.",
                             "5.56mm", "30", "3.4", "7.5", "30", "25", "7", "N/A", "N/A")},

    {"Remington M870", WEAPON("A pump-action shotgun, devastating at close range.",
                              "12 Gauge", "7", "4.1", "9.0", "32", "13", "13", "N/A", "N/A")},
    {"SPAS-15", WEAPON("A combat shotgun that fires faster than a pump-action.",
                       "12 Gauge", "7", "4.3", "9.5", "32", "13", "9", "N/A", "N/A")},
    {"CAWS", WEAPON("A fully automatic close assault weapon with its own ammunition.",
                    "CAWS", "10", "5.1", "11.2", "40", "13", "9", "3 rounds", "13")},

    {"FN Minimi", WEAPON("A light machine gun that fires long bursts of 5.56mm rounds.",
                         "5.56mm", "30", "7.3", "16.1", "28", "50", "7", "6 rounds", "11")},
    {"RPK-74", WEAPON("The squad machine gun of the AK-74 family, with a longer, heavier barrel.",
                      "5.45mm", "30", "5.9", "12.9", "30", "50", "7", "5 rounds", "11")},
    {"H&K 21", WEAPON("A heavy machine gun built on the G3, firing 7.62mm NATO rounds.",
                      "7.62mm NATO", "20", "10.1", "22.2", "32", "50", "7", "5 rounds", "11")},

    {"Rocket Rifle", WEAPON("An experimental rifle that fires mini-rockets. A laser sight is built in.",
                            "Mini-rockets", "5", "5.0", "11.0", "50", "60", "9", "N/A", "N/A")},
    {"Auto Rocket Rifle", WEAPON("The rocket rifle in its automatic version: it fires bursts of "
                                 "mini-rockets.",
                                 "Mini-rockets", "5", "5.0", "11.0", "50", "60", "7", "5 rounds", "11")},
    {"Dart Gun", WEAPON("A quiet gun that fires darts. It does hardly any damage.",
                        "Dart", "1", "1.3", "2.9", "2", "20", "7", "N/A", "N/A")},

    {"LAW", WEAPON("A light anti-tank rocket launcher: one shot, then it is thrown away.",
                   "Rocket", "1", "2.3", "5.0", "Explosive", "50", "18", "N/A", "N/A")},
    {"Mortar", WEAPON("A light mortar that lobs its shells over walls at targets far away.",
                      "Mortar shell", "1", "8.5", "18.6", "Explosive", "55", "18", "N/A", "N/A")},

    // Inventory: modifications
    {"Laser Sight",
     "Gives a flat bonus of 20% to hit, whatever the distance.\n\n"
     "The rocket rifle has a laser sight built in."},
    {"Sniper Scope",
     "Brings far targets close. Every extra point spent aiming through the scope narrows the "
     "view, so the merc's sight range gets shorter while aiming."},
    {"Silencer",
     "Muffles the shots of its weapon. A damaged silencer no longer silences the weapon fully, "
     "so keep it in good repair."},
    {"Bipod", "Gives a bonus of 10% to hit when firing while lying prone."},
    {"Duckbill", "Fitted to a shotgun, it spreads the buckshot horizontally instead of in a circle."},
    {"Talon",
     "A grenade launcher under the barrel. With a Talon attached, the fire-mode button cycles "
     "through burst fire, grenade launcher and back to single shot."},

    // Inventory: helmets
    {"Steelhelmet", ARMOUR(4)},
    {"Kevlarhelmet", ARMOUR(6)},
    {"Comp. 18 Kevlarhelmet", ARMOUR(7)},
    {"Coated Kevlarhelmet", ARMOUR(10)},
    {"Spectrahelmet", ARMOUR(12)},
    {"Comp. 18 Spectrahelmet", ARMOUR(15)},
    {"Coated Spectrahelmet", ARMOUR(17)},

    // Inventory: vests
    {"Flak Jacket", ARMOUR(12)},
    {"Comp. 18 Flak Jacket", ARMOUR(16)},
    {"Coated Flak Jacket", ARMOUR(20)},
    {"Kevlarvest", ARMOUR(19)},
    {"Comp. 18 Kevlarvest", ARMOUR(24)},
    {"Coated Kevlarvest", ARMOUR(30)},
    {"Guardianvest", ARMOUR(28)},
    {"Comp. 18 Guardianvest", ARMOUR(34)},
    {"Coated Guardianvest", ARMOUR(40)},
    {"Spectravest", ARMOUR(38)},
    {"Comp. 18 Spectravest", ARMOUR(45)},
    {"Coated Spectravest", ARMOUR(53)},

    {"Ceramic plates", "They add 19% to your armor-class."},

    // Attributes
    {"Health",
     "Health stands for the merc's physical well-being: how much damage he or she can take "
     "before dying.\n\n"
     "Improving:\n"
     "Health rises slowly with hard physical work: long marches, carrying heavy loads and "
     "recovering from wounds."},
    {"Dexterity",
     "Dexterity is the ability to make precise movements. It affects the four skills Medical, "
     "Explosives, Mechanical and Marksmanship.\n\n"
     "Improving:\n"
     "Dexterity grows with every task that needs a steady hand: shooting, bandaging, repairing "
     "and handling explosives."},
    {"Agility",
     "Agility is physical reaction, speed and coordination. An agile merc reacts first and "
     "moves nimbly.\n\n"
     "Improving:\n"
     "Agility grows by moving about: running, climbing, dodging and sneaking."},
    {"Strength",
     "Strength is muscle power. It is important in hand-to-hand combat and for forcing doors "
     "and crates open, and it decides how much the merc can carry.\n\n"
     "Improving:\n"
     "Strength grows by carrying heavy loads, fighting hand to hand and forcing things open."},
    {"Wisdom",
     "Wisdom is the ability to learn from experience and training. A wise merc improves all "
     "other values faster.\n\n"
     "Improving:\n"
     "Wisdom hardly changes during the game, so choose it with care here."},
    {"Leadership",
     "Leadership is charm, respect and presence. It counts in every dealing with non-player "
     "characters and when training others.\n\n"
     "Improving:\n"
     "Leadership grows by talking to people and by training militia."},
    {"Marksmanship",
     "Marksmanship is the ability to hit a target with a firearm.\n\n"
     "Improving:\n"
     "Marksmanship grows with every shot fired at an enemy, and faster with hits than with "
     "misses."},
    {"Explosives",
     "Explosives is the skill of making, using and disarming explosives, bombs and mines.\n\n"
     "Improving:\n"
     "It grows by planting and disarming bombs and mines and by using explosives in the field."},
    {"Medical",
     "Medical is the knowledge needed to treat injured mercs, in the field and as a doctor.\n\n"
     "Improving:\n"
     "It grows by bandaging wounded mercs and by working as a doctor."},
    {"Mechanic",
     "Mechanic is the skill of repairing damaged or broken equipment.\n\n"
     "Improving:\n"
     "It grows by repairing weapons, armour and other items, and by working on locks."},
    {"Experience Level",
     "The experience level sums up all the merc's abilities and the amount of combat he or she "
     "has seen.\n\n"
     "Improving:\n"
     "The level rises as the merc fights, defeats enemies and improves the other values."},

    // Traits
    {"None", "This trait isn't anything at all."},
    {"Lockpicking", "Adds 25% to the chance of picking locks." NOT_EXPERT},
    {"Electronics",
     "Doubles the chance of success with high-tech locks, with remote detonators and when "
     "merging items." NOT_EXPERT},
    {"Hand-to-hand",
     "Adds 15% to hit and to dodge in hand-to-hand combat, and 45% to the damage done."},
    {"Martial Arts",
     "Adds 30% to hit, to dodge and to the damage done in hand-to-hand combat, and gives the "
     "merc a special kick."},
    {"Knifing", "Adds 30% to the chance of stabbing and of parrying with a knife."},
    {"Throwing", "Adds 12% to hit and to the range when throwing."},
    {"Heavy Weapons", "Adds 15% to the chance to hit with heavy weapons, such as the LAW and the mortar."},
    {"Auto Weapons", "Halves the penalty to hit for burst fire."},
    {"Ambidextrous", "No penalty for firing two pistols or two SMGs at once." NOT_EXPERT},
    {"On-roof to-hit bonus", "Adds 15% to hit when firing down from a roof."},
    {"Nightops", "Better sight and hearing at night, and better chances of interrupting the enemy in the dark."},
    {"Stealthy", "Adds 25% to the chance of moving quietly."},
    {"Teaching", "Adds 30% to the effect of training militia and other mercs."},
    {"Camouflaged", "The merc never runs out of camouflage: the supplies are unlimited."},

    // Personality
    {"Normal ", "No fears and no quirks: the merc keeps a cool head wherever the job leads."},
    {"Heat sensitive", "Goes down fast in hot places such as the desert, losing energy and morale."},
    {"Nervous", "Gets nervous when left alone without other mercs nearby, which hurts morale."},
    {"Claustrophobic", "Hates being shut in small places: underground and in tight rooms the merc suffers."},
    {"Fear of water", "Is careful with deep water and does not like to swim."},
    {"Fear of insects", "Is afraid of insects and loses heart when they are around."},
    {"Forgetful", "Sometimes forgets the commands given and has to be told again."},
    {"Psychotic",
     "May go insane in a fight and burst at the enemy. In return the merc gets a bonus of 15% "
     "to burst fire."},

    // Attitude
    {"Normal", "Gets along with everybody: no bonus and no penalty in dealings with others."},
    {"Friendly", "Is more successful when talking to non-player characters."},
    {"Loner", UNKNOWN_ATTITUDE},
    {"Optimistic", "Keeps a higher morale and is a better leader."},
    {"Pessimistic", "The opposite of optimistic: a lower morale and a worse leader."},
    {"Aggressive", "A better fighter, but a worse talker."},
    {"Arrogant", UNKNOWN_ATTITUDE},
    {"Unfriendly", "Is less successful when dealing with non-player characters."},
    {"Coward", "May weaken under pressure when the fighting gets hard."},

    {"Portrait",
     "Choose the face your merc shows in the game.\n\n"
     "Big Guy: portrait 1, 7 or 8 with a strength of 75 or more and without the Martial Arts "
     "trait gives the merc the \"Big Guy\" body, a larger build. This works for male bodies "
     "only."},
    {"Name", "Just put in the name and callsign you want your merc to have."},
};

#undef WEAPON
#undef ARMOUR
#undef NOT_EXPERT
#undef UNKNOWN_ATTITUDE

const TreeNode kTree[] = {
    {0, "General"},
    {1, ""},
    {1, "How to install?"},
    {1, "Special notes"},
    {1, "Where to get new versions?"},
    {1, "Onlineversion"},
    {1, "You found a bug?"},
    {1, "Version history"},
    {1, "Versions supported"},
    {0, "Appearance"},
    {1, "Sex"},
    {1, "Voice"},
    {1, "Haircolor"},
    {1, "Skincolor"},
    {1, "Vestcolor"},
    {1, "Pantscolor"},
    {0, "Inventory"},
    {1, "Weapons"},
    {2, "Pistols"},
    {3, "Glock 17"},
    {3, "Glock 18"},
    {3, "Beretta 92F"},
    {3, "Beretta 93R"},
    {3, ".38 Special"},
    {3, "Barracuda"},
    {3, "Desert Eagle"},
    {3, "Colt .45"},
    {3, "Automag III"},
    {2, "Sub Machine Guns"},
    {3, "H&K MP5K"},
    {3, "MAC-10"},
    {3, "Thompson M1A1"},
    {3, "Colt Commando"},
    {3, "H&K MP53"},
    {3, "AKSU-74"},
    {3, "FN-P90"},
    {3, "Type-85"},
    {2, "Sniper Rifles"},
    {3, "Dragunov"},
    {3, "M-24"},
    {2, "Assault Rifles"},
    {3, "Steyr AUG"},
    {3, "H&K G41"},
    {3, "C7 / M16A2"},
    {3, "FA-MAS"},
    {3, "AK-74"},
    {3, "AKM"},
    {3, "M-14"},
    {3, "FN-FAL"},
    {3, "H&K G3A3"},
    {3, "H&K G11"},
    {2, "Rifles"},
    {3, "SKS"},
    {3, "Ruger Mini-14"},
    {2, "Shotguns"},
    {3, "Remington M870"},
    {3, "SPAS-15"},
    {3, "CAWS"},
    {2, "Light Machine Guns"},
    {3, "FN Minimi"},
    {3, "RPK-74"},
    {3, "H&K 21"},
    {2, "Misc. Weapons"},
    {3, "Rocket Rifle"},
    {3, "Auto Rocket Rifle"},
    {3, "Dart Gun"},
    {2, "Heavy Weapons"}, // a group that shows the trait text of the same title
    {3, "LAW"},
    {3, "Mortar"},
    {1, "Modifications"},
    {2, "Laser Sight"},
    {2, "Sniper Scope"},
    {2, "Silencer"},
    {2, "Bipod"},
    {2, "Duckbill"},
    {2, "Talon"},
    {1, "Helmet"},
    {2, "Steelhelmet"},
    {2, "Kevlarhelmet"},
    {2, "Comp. 18 Kevlarhelmet"},
    {2, "Coated Kevlarhelmet"},
    {2, "Spectrahelmet"},
    {2, "Comp. 18 Spectrahelmet"},
    {2, "Coated Spectrahelmet"},
    {1, "Vest"},
    {2, "Flak Jacket"},
    {2, "Comp. 18 Flak Jacket"},
    {2, "Coated Flak Jacket"},
    {2, "Kevlarvest"},
    {2, "Comp. 18 Kevlarvest"},
    {2, "Coated Kevlarvest"},
    {2, "Guardianvest"},
    {2, "Comp. 18 Guardianvest"},
    {2, "Coated Guardianvest"},
    {2, "Spectravest"},
    {2, "Comp. 18 Spectravest"},
    {2, "Coated Spectravest"},
    {1, "Ceramic plates"},
    {0, "Attributes"},
    {1, "Health"},
    {1, "Dexterity"},
    {1, "Agility"},
    {1, "Strength"},
    {1, "Wisdom"},
    {1, "Leadership"},
    {1, "Marksmanship"},
    {1, "Explosives"},
    {1, "Medical"},
    {1, "Mechanic"},
    {1, "Experience Level"},
    {0, "Traits"},
    {1, "None"},
    {1, "Lockpicking"},
    {1, "Electronics"},
    {1, "Hand-to-hand"},
    {1, "Martial Arts"},
    {1, "Knifing"},
    {1, "Throwing"},
    {1, "Heavy Weapons"},
    {1, "Auto Weapons"},
    {1, "Ambidextrous"},
    {1, "On-roof to-hit bonus"},
    {1, "Nightops"},
    {1, "Stealthy"},
    {1, "Teaching"},
    {1, "Camouflaged"},
    {0, "Personality"},
    {1, "Normal "}, // the blank keeps it apart from the attitude "Normal"
    {1, "Heat sensitive"},
    {1, "Nervous"},
    {1, "Claustrophobic"},
    {1, "Fear of water"},
    {1, "Fear of insects"},
    {1, "Forgetful"},
    {1, "Psychotic"},
    {0, "Attitude"},
    {1, "Normal"},
    {1, "Friendly"},
    {1, "Loner"},
    {1, "Optimistic"},
    {1, "Pessimistic"},
    {1, "Aggressive"},
    {1, "Arrogant"},
    {1, "Unfriendly"},
    {1, "Coward"},
    {0, "Portrait"},
    {0, "Name"},
};

} // namespace

std::span<const Topic> topics() { return kTopics; }

std::span<const TreeNode> tree() { return kTree; }

const Topic* findTopic(std::string_view title)
{
    for (const Topic& topic : kTopics)
        if (title == topic.title)
            return &topic;
    return nullptr;
}

} // namespace kestrin::help
