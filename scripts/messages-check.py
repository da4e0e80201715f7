#!/usr/bin/env python3
"""Checks that the guide quotes every message the program can show.

Every text of three words or more written in the program's sources
(src/) must appear, word for word, in the « Les messages » section of
docs/LISEZMOI.txt, unless it is a text of the windows themselves (a
caption, a tooltip, a title, a font) listed below. A message built of
pieces around a name (« Tivrelon ne trouve pas le dossier « ... ». ») is
checked piece by piece. Line breaks and runs of blanks do not count.
    scripts/messages-check.py [ROOT]
"""
import glob
import os
import re
import sys

# Texts shown elsewhere than in a message: the windows' captions, labels,
# tooltips and titles, the About window's lines, fonts and registry keys.
NOT_MESSAGES = {
    "© L'équipe Tivrelon, décembre 2026",
    "SOFTWARE\\Microsoft\\Shared Tools Location",
    "Comic Sans MS", "MS Sans Serif", "MS Shell Dlg",
    "Faire un don avec PayPal - Un solution gratuite, rapide et sécurisée.",
    "Visitez le site officiel", "Icône de Tivrelon", "Envoyer un courriel",
    "Changer l'icône d'un dossier Auteur :",  # the About window's details, told in their own part
    "Tous les fichiers (*.*)|*.*|Fichiers exécutables (*.exe)|*.exe|Fichiers DLL (*.dll)|*.dll|Fichiers icône "
    "(*.ico)|*.ico|Images (*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff)|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff",
    "Choisir un fichier contenant des icônes",
    "Aperçu de l'icône", "Choix de l'&Icône...", "Choisir l'icône pour le dossier sélectionné",
    "Information Icône :", "Restituer l'icône par défaut", "Restitue l'icône à défaut pour le dossier choisi",
    "Choix du &Dossier...", "Choix du dossier pour modification d'icône", "Apllique l'icône au dossier choisi",
    "Changer l'icône d'un dossier", "Choix du dossier",
    "Sélectionnez une icône dans la liste ci-dessous :", "Ce fichier ne contient aucune icône.", "Icônes du fichier :",
    "Changer l'icône avec Tivrelon...", "Ajouter au menu de l'Explorateur",
}

LITERAL = re.compile(r'L"((?:[^"\\]|\\.)*)"')


def flat(text):
    return " ".join(text.split())


def unescape(text):
    return re.sub(r'\\(.)', lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1), m.group(1)), text)


def texts(root):
    for path in sorted(glob.glob(os.path.join(root, "src", "**", "*.*"), recursive=True)):
        source = open(path, encoding="utf-8").read()
        # Comments out, strings kept ("https://" is no comment).
        source = re.sub(r'"(?:[^"\\]|\\.)*"|//[^\n]*|/\*.*?\*/', lambda m: m.group(0) if m.group(0)[0] == '"' else "",
                        source, flags=re.S)
        for group in re.finditer(r'(?:L"(?:[^"\\]|\\.)*"\s*)+', source):
            text = flat(unescape("".join(LITERAL.findall(group.group(0)))))
            if len(text.split()) >= 3 and not text.startswith("#") and text not in NOT_MESSAGES:
                yield os.path.relpath(path, root), text


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    guide = open(os.path.join(root, "docs", "LISEZMOI.txt"), encoding="utf-8").read()
    start = guide.index("Les messages\n------------")
    end = guide.index("\n\n\n", start)
    section = flat(guide[start:end])
    missing = [(path, text) for path, text in texts(root) if text not in section]
    for path, text in missing:
        print(f"{path}: not quoted in LISEZMOI's « Les messages »: {text}")
    print(f"{'every message is' if not missing else f'{len(missing)} texts are not'} quoted in the guide")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
